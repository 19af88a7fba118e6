#pragma once
// A gtest global environment that holds the Qt application a test program
// needs (QGuiApplication for the canvas, QApplication for widgets), on the
// offscreen platform unless the environment asks for another one. A test
// program registers it once:
//   [[maybe_unused]] testing::Environment* const Environment =
//       testing::AddGlobalTestEnvironment(new TQtTestEnvironment<QGuiApplication>);

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <memory>

template <typename TApplication> class TQtTestEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        FApplication = std::make_unique<TApplication>(FArgc, FArgv);
    }
    void TearDown() override { FApplication.reset(); }

  private:
    int FArgc = 1;
    char FName[8] = "tests";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<TApplication> FApplication;
};
