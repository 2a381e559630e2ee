#include <gtest/gtest.h>

#include <QAction>
#include <stdexcept>

#include "shell/ui/GuardedApplication.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

// An event handler that throws must not end the program: the error is reported once and the
// next command still runs.
TEST(GuardedApplication, AnExceptionFromAnEventHandlerIsReportedAndTheProgramGoesOn) {
    auto* app = qobject_cast<GuardedApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    testing::FakePrompter prompter;
    app->setPrompter(&prompter);

    struct Thrower : QObject {
        bool event(QEvent*) override { throw std::runtime_error("disk went away"); }
    } thrower;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));

    QAction working;
    int ran = 0;
    QObject::connect(&working, &QAction::triggered, [&] { ++ran; });
    working.trigger();

    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(prompter.texts()[0], "An unexpected error stopped the command:\n\ndisk went away");
    EXPECT_EQ(ran, 1);
    app->setPrompter(nullptr);
}

}  // namespace
}  // namespace kal
