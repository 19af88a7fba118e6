// The canvas needs a Qt GUI application; tests run on the offscreen
// platform unless the environment asks for another one.

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TQtEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        FApplication = std::make_unique<QGuiApplication>(FArgc, FArgv);
    }
    void TearDown() override { FApplication.reset(); }

  private:
    int FArgc = 1;
    char FName[16] = "platform_tests";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QGuiApplication> FApplication;
};

[[maybe_unused]] testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TQtEnvironment);

} // namespace
