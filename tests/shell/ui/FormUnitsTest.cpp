#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "shared/Units.h"
#include "shell/ui/FormUnits.h"

namespace kal {
namespace {

void pressEscape(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

QStringList items(QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

TEST(FormUnits, ListsOfferTheirItemsAndShowTheJob) {
    JobState job;
    job.LengthUnitName = "inch", job.AngleUnitName = kDmsUnitName, job.DigitLength = 1, job.DigitAngle = 6;
    job.DigitScale = 1, job.PhiThetaAsQ = true;
    FormUnits w(job, {});
    EXPECT_EQ(w.windowTitle(), "Units [ ] and Digits");
    EXPECT_EQ(items(w.lengthList()), (QStringList{"millimeter", "meter", "inch", "feet"}));
    EXPECT_EQ(items(w.angleList()), (QStringList{"degree", "grad (gon)", "rad", "mrad", "arcsecond",
                                                 "arcminute", QString::fromUtf8("360°60'60''")}));
    EXPECT_EQ(items(w.digitAngleList()).size(), 7);
    EXPECT_EQ(items(w.digitScaleList()), (QStringList{"0.000000", "0.000000000000"}));
    EXPECT_FALSE(w.lengthList()->isEditable());
    EXPECT_EQ(w.choice(), (UnitsChoice{2, 6, 1, 6, 1, true}));
}

TEST(FormUnits, OkHandsOnTheChoiceAndEscInTheLengthListCancels) {
    JobState job;
    job.LengthUnitName = "parsec";  // hand-edited: the default item shows
    std::vector<UnitsChoice> oks;
    FormUnits w(job, [&](const UnitsChoice& c) { oks.push_back(c); });
    w.show();
    int cancelled = 0;
    QObject::connect(&w, &FormUnits::cancelled, [&] { ++cancelled; });
    EXPECT_EQ(w.lengthList()->currentText(), "millimeter");

    pressEscape(w.angleList());
    EXPECT_EQ(cancelled, 0);
    pressEscape(w.lengthList());
    EXPECT_EQ(cancelled, 1);

    w.lengthList()->setCurrentIndex(1);
    w.angleList()->setCurrentIndex(1);
    w.digitLengthList()->setCurrentIndex(2);
    w.digitAngleList()->setCurrentIndex(5);
    w.digitScaleList()->setCurrentIndex(1);
    // The wrapped caption ticks its box as a check box's own caption does.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.phiThetaCaption(), &release);
    EXPECT_TRUE(w.phiThetaBox()->isChecked());
    w.okButton()->click();
    ASSERT_EQ(oks.size(), 1u);
    EXPECT_EQ(oks[0], (UnitsChoice{1, 1, 2, 5, 1, true}));
}

}  // namespace
}  // namespace kal
