#pragma once
// Dialogs that answer yes in place of the user, and waiting with the event
// loop running.

#include "app/UserDialogs.h"

#include <QTest>

#include <chrono>
#include <string>
#include <vector>

// Says yes to every question and keeps what it was asked and told.
class TYesDialogs : public TUserDialogs {
  public:
    void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
    bool Confirm(const std::string& Text) override {
        Questions.push_back(Text);
        return true;
    }
    bool ExecuteSave(const std::string&, std::string&) override { return false; }
    bool ExecuteOpen(const std::string&, std::string&) override { return false; }

    std::vector<std::string> Messages, Questions;
};

// True once Done, which is asked every 10 ms for at most Limit.
template <typename TCondition> bool WaitUntil(TCondition Done, std::chrono::milliseconds Limit) {
    for (auto End = std::chrono::steady_clock::now() + Limit;
         !Done() && std::chrono::steady_clock::now() < End;)
        QTest::qWait(10);
    return Done();
}
