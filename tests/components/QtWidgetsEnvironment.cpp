// Components are widgets: the tests need a QApplication.

#include "tests/support/QtTestEnvironment.h"

#include <QApplication>

namespace {

[[maybe_unused]] testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TQtTestEnvironment<QApplication>);

} // namespace
