// The canvas needs a Qt GUI application.

#include "tests/support/QtTestEnvironment.h"

#include <QGuiApplication>

namespace {

[[maybe_unused]] testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TQtTestEnvironment<QGuiApplication>);

} // namespace
