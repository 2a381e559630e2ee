#include <gtest/gtest.h>

#include <stdexcept>

#include "details/DetailsCopies.h"
#include "platform/Regional.h"
#include "shared/Rotations.h"
#include "support/FakePlatform.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(DetailsCopies, BeforeAnyFillTheRotationCopyIsZeros) {
    JobState job;
    DetailsFigures f = emptyDetails();
    testing::FakeClipboard clipboard;
    DetailsCopier copier(f, job, clipboard);
    EXPECT_EQ(copier.copyRotation(), repeat("0\t0\t0\t\r\n", 3) + "\r\n");
    EXPECT_EQ(clipboard.text(), repeat("0\t0\t0\t\r\n", 3) + "\r\n");
    EXPECT_EQ(copier.copyMonteCarlo(), repeat("\t\r\n", 19));
}

TEST(DetailsCopies, ScaleOneAndIdentityNeverShowMinusZero) {
    EXPECT_EQ(scaleMatrixCopyText(1, 1, 1), "1\t0\t0\t\r\n0\t1\t0\t\r\n0\t0\t1\t\r\n\r\n");
    Matrix I(3, 3);
    matFromAnglesXYZ(0, 0, 0, I);
    const std::string r = matrixCopyText(I);
    EXPECT_EQ(r, "1\t0\t0\t\r\n0\t1\t0\t\r\n0\t0\t1\t\r\n\r\n");
    Vec3 s1{}, s2{};
    const std::string seq = sequenceCopyText(AngleSequence::XYZ, I, 180 / 3.14159265358979, s1, s2);
    EXPECT_EQ(seq.find("-0\t"), std::string::npos) << seq;
    EXPECT_EQ(seq.find("-0\r"), std::string::npos) << seq;
    const std::string h = homogeneousCopyText(I, -0.0, 0, 0, 1);
    EXPECT_EQ(h, "1\t0\t0\t0\r\n0\t1\t0\t0\r\n0\t0\t1\t0\r\n0\t0\t0\t1\r\n\r\n");
}

TEST(DetailsCopies, SequenceCopyUsesSignedTextAndTheGridOrder) {
    platform::ScopedDecimalSeparator comma(',');
    Matrix M(3, 3);
    matFromAnglesZXY(0.25, 0.5, 0.125, M);
    Vec3 s1{}, s2{};
    // Factor 2: about y 0.5 rad shows as 1, about z 0.125 as .25 — one half appears as " .5".
    const std::string t = sequenceCopyText(AngleSequence::ZXY, M, 2.0, s1, s2);
    const std::string expectedStart = " \tSolution 1\tSolution 2\r\nRot z \t";
    ASSERT_EQ(t.substr(0, expectedStart.size()), expectedStart);
    const bool first = std::abs(s1[1] - 0.25) < 1e-9;
    const std::string ok = first ? "Rot x' \t .5\t" : "\t .5\r\n";
    EXPECT_NE(t.find("Rot x' \t"), std::string::npos);
    EXPECT_NE(t.find(ok), std::string::npos) << t;
    EXPECT_EQ(t.substr(t.size() - 4), "\r\n\r\n");
}

TEST(DetailsCopies, QuaternionCopyHasElevenLinesAndItsOwnCaptions) {
    Matrix M(3, 3);
    matFromAnglesXYZ(0.3, 0.5, 0.7, M);
    const std::string q = quaternionCopyText(M, 1.0);
    EXPECT_EQ(q.rfind("qw\t0.887272187679753\r\nqx\t-0.219895766329105\r\n", 0), 0u) << q;
    EXPECT_NE(q.find("\r\nVec x of Rot\t"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = q.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 11u);
    EXPECT_EQ(q.find("\r\n\r\n"), std::string::npos);
}

TEST(DetailsCopies, InverseCopyIncludesTheCaptionCells) {
    JobState job;
    const TextTable g = inverseGridOf(job);  // no solution
    EXPECT_EQ(inverseCopyText(g), "\t\t\r\n\tno solution\t\r\n\r\n");
}

TEST(DetailsCopies, ClipAllCollectsEightTablesAndASingleCopyAfterwardsWritesAgain) {
    JobState job;
    testing::setMillimetreDegree(job);
    job.RotX() = 0.3;
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1;
    DetailsFigures f = computeDetails(job);
    testing::FakeClipboard clipboard;
    DetailsCopier copier(f, job, clipboard);
    const std::string all = copier.copyAll();
    EXPECT_FALSE(copier.clipAllActive());
    EXPECT_EQ(clipboard.text(), all);
    EXPECT_EQ(clipboard.writes(), 2);  // cleared and set once
    EXPECT_NE(all.find("qz\t"), std::string::npos);
    EXPECT_NE(all.find("\r\n\r\nlast MonteCarlo - sigma of parameter\r\n"), std::string::npos);
    EXPECT_EQ(all.find("no solution"), std::string::npos);
    EXPECT_EQ(all.substr(all.size() - 19 * 3), repeat("\t\r\n", 19));

    copier.copyScale();
    EXPECT_EQ(clipboard.text(), "1\t0\t0\t\r\n0\t1\t0\t\r\n0\t0\t1\t\r\n\r\n");
    EXPECT_EQ(clipboard.writes(), 4);
}

class ThrowingClipboard : public testing::FakeClipboard {
  public:
    void setText(const std::string& utf8) override {
        if (fail) throw std::runtime_error("clipboard held by another program");
        testing::FakeClipboard::setText(utf8);
    }
    bool fail = true;
};

TEST(DetailsCopies, ClipAllThatFailsLeavesLaterCopiesOnTheClipboard) {
    JobState job;
    DetailsFigures f = emptyDetails();
    ThrowingClipboard clipboard;
    DetailsCopier copier(f, job, clipboard);
    EXPECT_THROW(copier.copyAll(), std::runtime_error);
    EXPECT_FALSE(copier.clipAllActive());
    clipboard.fail = false;
    copier.copyRotation();
    EXPECT_EQ(clipboard.text(), repeat("0\t0\t0\t\r\n", 3) + "\r\n");
}

}  // namespace
}  // namespace kal
