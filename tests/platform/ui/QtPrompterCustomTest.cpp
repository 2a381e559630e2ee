#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "platform/qt/QtPlatform.h"

namespace kal {
namespace {

// Acts on the box once it is open, so the test never waits on a person.
void whenBoxOpens(std::function<void(QMessageBox*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(box);
    });
    timer->start();
}

QAbstractButton* buttonWithText(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return b;
    return nullptr;
}

TEST(QtPrompterCustom, ReturnsThePositionOfTheButtonClicked) {
    const std::vector<std::string> captions = {"overwrite", "overwrite all ", "Cancel Batch"};
    for (int i = 0; i < 3; ++i) {
        platform::QtPrompter prompter;
        whenBoxOpens([&](QMessageBox* box) {
            QAbstractButton* b = buttonWithText(box, QString::fromStdString(captions[i]));
            ASSERT_NE(b, nullptr);
            b->click();
        });
        EXPECT_EQ(prompter.custom("exists", "File does exist", captions), i + 1);
    }
}

TEST(QtPrompterCustom, EscapeAndTheCloseBoxPressTheLastButton) {
    platform::QtPrompter prompter;
    whenBoxOpens([](QMessageBox* box) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &esc);
    });
    EXPECT_EQ(prompter.custom("exists", "File does exist", {"overwrite", "overwrite all ", "Cancel Batch"}),
              3);

    whenBoxOpens([](QMessageBox* box) { box->close(); });
    EXPECT_EQ(prompter.custom("question", "", {"yes", "no"}), 2);
}

TEST(QtPrompterCustom, ButtonsKeepTheCaptionsOrderAndAnEmptyMiddleOne) {
    platform::QtPrompter prompter;
    QStringList texts;
    whenBoxOpens([&](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons()) texts << b->text();
        box->close();
    });
    prompter.custom("t", "", {"a", "", "c"});
    EXPECT_EQ(texts, (QStringList{"a", "", "c"}));
}

}  // namespace
}  // namespace kal
