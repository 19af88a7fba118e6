#pragma once
// The log's journal: with it on, every line the window logs is also added
// to a file and written out at once, so that the lines survive a crash of
// the program (not of the machine: nothing waits for the disk). It holds
// the lines logged since the log was last saved or loaded; a clean exit
// removes it, so a journal found at start was left by a run that did not
// end cleanly.

#include <QLockFile>

#include <string>

class TLogJournal {
  public:
    // Takes the journal of FileName for this run; Exception when another
    // running program has it.
    explicit TLogJournal(const std::string& FileName);
    // A clean exit: the journal goes.
    ~TLogJournal();
    TLogJournal(const TLogJournal&) = delete;
    TLogJournal& operator=(const TLogJournal&) = delete;

    // The journal in the user's data folder
    // (~/.local/share/sensor-monitor/log-journal.csv).
    static std::string DefaultFileName();

    const std::string& FileName() const { return FFileName; }
    // The bytes a run that did not end cleanly left; empty when none.
    std::string LeftOver() const;
    // One log line, ended by CR LF as in a saved log; Exception naming the
    // file when it cannot be written.
    void Append(const std::string& Line);
    // The lines are safe elsewhere (saved, loaded, or not wanted).
    void Clear();

  private:
    std::string FFileName;
    QLockFile FLock;
};
