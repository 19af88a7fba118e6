// Components are widgets: the tests need a QApplication, on the offscreen
// platform unless the environment asks for another one.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TWidgetsEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        FApplication = std::make_unique<QApplication>(FArgc, FArgv);
    }
    void TearDown() override { FApplication.reset(); }

  private:
    int FArgc = 1;
    char FName[20] = "components_tests";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QApplication> FApplication;
};

[[maybe_unused]] testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TWidgetsEnvironment);

} // namespace
