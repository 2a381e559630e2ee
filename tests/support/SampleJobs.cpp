#include "support/SampleJobs.h"

#include <string>

#include "annotation/ClassColours.h"
#include "input/AsciiPointReader.h"
#include "input/PointMatching.h"
#include "view3d/PointCloudBuild.h"
#include "view3d/ScreenScene.h"
#include "view3d/ViewRecordCopy.h"
#include "view3d/ViewSteps.h"

namespace kal::testing {

JobState makePointJob(std::int32_t identical, std::int32_t mcsOnly, std::int32_t ocsOnly) {
    JobState job;
    job.IdenticalCount = identical;
    job.McsCount = identical + mcsOnly;
    job.OcsCount = identical + ocsOnly;
    auto fill = [identical](std::int32_t count, const char* onlyPrefix, std::vector<std::string>& names,
                            TaggedArray& x, TaggedArray& y, std::vector<double>& z, double shift) {
        names.assign(static_cast<std::size_t>(count) + 1, std::string());
        x = TaggedArray(count);
        y = TaggedArray(count);
        z.assign(static_cast<std::size_t>(count) + 1, 0.0);
        for (std::int32_t i = 1; i <= count; ++i) {
            names[static_cast<std::size_t>(i)] =
                (i <= identical ? std::string("P") : std::string(onlyPrefix)) + std::to_string(i);
            x.set(i, 100.0 + 0.25 * i + shift);
            y.set(i, -50.0 + 0.125 * i * i / (1.0 + i) - shift);
            z[static_cast<std::size_t>(i)] = 10.0 * (i % 7) + shift / 3.0;
        }
    };
    fill(job.McsCount, "M", job.MCS_Name, job.MCS_X, job.MCS_Y, job.MCS_Z, 0.0);
    fill(job.OcsCount, "O", job.OCS_Name, job.OCS_X, job.OCS_Y, job.OCS_Z, 1.5);
    job.MCSt_Name = job.MCS_Name;
    job.MCSt_X = job.MCS_X;
    job.MCSt_Y = job.MCS_Y;
    job.MCSt_Z = job.MCS_Z;
    job.sizeDerivedArrays(1);
    job.UseFlags[0] = 0;
    job.LengthUnitName = "millimeter";
    job.DigitLength = 3;
    job.AngleUnitName = "degree";
    job.DigitAngle = 4;
    job.NormMode = kNormL2;
    job.RichtungMCStoOCS = true;
    for (int k = 1; k <= kParamCount; ++k) job.ParamState[static_cast<std::size_t>(k)] = "float";
    job.Params[kScaleX] = job.Params[kScaleY] = job.Params[kScaleZ] = job.Params[kScaleXYZ] = 1.0;
    job.GraphicsFlags.ViewAllMCS = job.GraphicsFlags.ViewAllonlyMCS = job.GraphicsFlags.ViewAllonlyOCS = true;
    job.DataLoaded = job.McsCount > 0 || job.OcsCount > 0;
    return job;
}

ScreenProperties makeView(int seed, std::int32_t lines) {
    ScreenProperties v;
    v.VectorMode = seed % 2 == 0;
    v.BigNess = static_cast<std::int16_t>(2 + seed);
    v.Faehnchenmode = true;
    v.Massstab = 1.5f + static_cast<float>(seed);
    v.OffsetX = 320.25f;
    v.OffsetY = -12.5f;
    v.Vec_Massstab = 100.0f;
    v.GridLength = 10;
    v.ViewAngles.resize(2, 3);
    v.ViewAngles(1, 1) = 0.5 + seed;
    v.ViewAngles(1, 2) = -0.25;
    v.ViewAngles(1, 3) = 3.0;
    v.ViewAngles(2, 1) = 1e-9;
    v.FahneAnzahl = 2;
    v.FlagOfPoint.resize(20);
    v.FlagOfPoint.set(3, 1);
    v.FlagOfPoint.set(17, 2);
    v.FahneProps.resize(3);
    for (std::size_t k = 1; k < v.FahneProps.size(); ++k) {
        auto& f = v.FahneProps[k];
        f.ShowPointNumber = k == 1;
        f.ShowActual = f.showX = f.show3D = f.ShowLegendeName = true;
        f.WithinScreen = k == 2;
        f.Left = static_cast<std::int16_t>(100 * k);
        f.Top = -20;
        f.Bold = true;
        f.Charset = 0;
        f.Name = k == 1 ? "Arial" : "Courier New";
        f.Size = 8.25f;
        f.Weight = 700.0f;
        f.Forecolor = 0x00FF80;
    }
    v.CurrentFahne = 2;
    v.WindowWidth = 16515;
    v.WindowHeight = 11700;
    v.AnzKlassenPos = 3;
    v.AnzKlassenNeg = 2;
    v.AusserhalbTol = true;
    v.Min = -0.05;
    v.Max = 0.1;
    v.showVeX = v.showVeZ = true;
    v.ColorBased = "z";
    v.OuterColor = 255;
    v.CS_Type = "CART";
    v.BlackPlane = true;
    v.BlackOffX = 0.1f;
    v.BlackOffY = 2.0f;
    v.BlackM = 1.25;
    v.BlackThick = 5.0;
    for (int i = 1; i <= 3; ++i) v.PlaneMatrix(i, i) = 1.0;
    v.PlaneMatrix(1, 2) = 0.5;
    v.BlackZ = -3.0f;
    v.GridXY = true;
    v.ADis = 100;
    v.BDis = 100;
    v.Cdis = 50;
    v.Lines.resize(2, lines);
    for (std::int32_t k = 1; k <= lines; ++k) {
        v.Lines(1, k) = k;
        v.Lines(2, k) = k + 5;
    }
    v.LineStartPoint = 7;
    v.LineMode = true;
    v.LineCount = lines;
    return v;
}

JobState makeFullJob() {
    JobState job = makePointJob(5, 2, 1);
    job.MCS_Name[2] = "Pünkt-ß";
    job.MCSt_Name[2] = job.MCS_Name[2];
    job.MCSt_X.set(1, 100.5);
    job.UseFlags[4] = 0;
    job.ParamState[kScaleX] = "not used";
    job.ParamState[kRDist] = "12.5";
    job.ParamState[kRvecY] = "0";
    for (int k = 1; k <= kParamCount; ++k) job.Params[static_cast<std::size_t>(k)] = 0.001 * k - 0.0005;
    job.Params[kRDist] = 12.5;
    job.Params[kRvecX] = 1.25;
    job.Params[kRvecY] = -2.5;
    job.Params[kRvecZ] = 3.75;
    job.AutoRecalc = false;
    job.LengthUnitName = "inch";
    job.DigitLength = 2;
    job.AngleUnitName = "grad (gon)";
    job.DigitAngle = 5;
    job.NormMode = kNormL1;
    job.SeedPointNames = {"", "P1", "P3", "P5"};
    job.SeedPointIndex = {0, 1, 3, 5};
    job.NameMCS = "Messung";
    job.NameOCS = "Soll";
    job.MCS_FileName = "/data/mcs.txt";
    job.OCS_FileName = "/data/ocs.txt";
    job.GraphicsFlags.ViewAllOCS = true;
    job.GraphicsFlags.ViewAllonlyMCS = false;
    job.ParaboloidMode = true;
    job.ShapeProfile.resize(4, 2);
    for (int i = 1; i <= 4; ++i) {
        job.ShapeProfile(i, 1) = 10.0 * i;
        job.ShapeProfile(i, 2) = 0.01 * i * i;
    }
    job.SavedViewNames = {"front", "Detail oben"};
    job.ViewCount = 2;
    job.SavedViews[1] = makeView(1);
    job.SavedViews[2] = makeView(2, 3);
    job.SavedViews[3] = makeView(3);  // left behind by a deletion: stored as it is
    job.KukaOcsMode = true;
    job.OcsAngles.resize(job.OcsCount, 3);
    for (int i = 1; i <= job.OcsCount; ++i)
        for (int c = 1; c <= 3; ++c) job.OcsAngles(i, c) = 0.1 * i - 0.05 * c;
    for (int i = 1; i <= job.IdenticalCount; ++i) {
        job.RVec_X.set(i, 0.5 * i);
        job.RVec_Y.set(i, -0.5 * i);
        job.RVec_Z[static_cast<std::size_t>(i)] = 0.25;
    }
    return job;
}

JobState makeJobFromPointFiles(const std::string& mcsPath, const std::string& ocsPath) {
    ReadOptions options;  // millimetres and degrees, "." as the separator, no questions
    options.decimalSeparator = '.';
    auto mcs = readAsciiPointFile(mcsPath, options);
    auto ocs = readAsciiPointFile(ocsPath, options);
    JobState job;
    commitMatchedPoints(
        job, matchPointsByName(std::move(mcs.points), std::move(ocs.points), std::nullopt, options), {});
    job.DataLoaded = true;
    job.LengthUnitName = "millimeter";
    job.DigitLength = 3;
    job.AngleUnitName = "degree";
    job.DigitAngle = 4;
    job.NormMode = kNormL2;
    job.RichtungMCStoOCS = true;
    return job;
}

JobState makeDemoJob(const std::string& examplesFolder) {
    JobState job = makeJobFromPointFiles(examplesFolder + "/cell-mcs.txt", examplesFolder + "/cell-ocs.txt");
    // The cell's OCS is its MCS turned 90° about z and shifted (examples/README.md). The parameters
    // are the ones a calculation gives: the rotation turns the frame, not the points, so the
    // points' +90° reads as rot z'' = −90°.
    for (int k = 1; k <= kParamCount; ++k)
        job.ParamState[static_cast<std::size_t>(k)] = k <= 6 ? "float" : "not used";
    job.Params[kRotZ] = -3.14159265358979 / 2.0;
    job.Params[kTraX] = 1000.0;
    job.Params[kTraY] = -500.0;
    job.Params[kTraZ] = 250.0;
    job.Params[kScaleX] = job.Params[kScaleY] = job.Params[kScaleZ] = job.Params[kScaleXYZ] = 1.0;
    job.SeedPointNames = {"", "P1", "P3", "P5"};
    job.SeedPointIndex = {0, 1, 3, 5};
    job.NameMCS = "cell-mcs";
    job.NameOCS = "cell-ocs";
    job.MCS_FileName = "cell-mcs.txt";
    job.OCS_FileName = "cell-ocs.txt";
    job.GraphicsFlags.ViewAllMCS = job.GraphicsFlags.ViewAllonlyMCS = job.GraphicsFlags.ViewAllonlyOCS = true;
    job.SavedViewNames = {"Overview"};
    job.ViewCount = 1;
    job.SavedViews[1] = makeDemoOverview(job);
    return job;
}

ScreenProperties makeDemoOverview(const JobState& demo) {
    // The view is made on the job as Calculate leaves it: the transformed MCS points on their
    // nominals, so the cloud is the cell itself.
    JobState calculated = demo;
    calculated.MCSt_Name = calculated.MCS_Name;
    for (std::int32_t i = 1; i <= calculated.IdenticalCount; ++i) {
        calculated.MCSt_X.set(i, calculated.OCS_X[i]);
        calculated.MCSt_Y.set(i, calculated.OCS_Y[i]);
        calculated.MCSt_Z[static_cast<std::size_t>(i)] = calculated.OCS_Z[static_cast<std::size_t>(i)];
    }
    calculated.TrafoCalculated = true;
    calculated.GraphicsFlags.ShowColorBar = true;

    ScreenScene scene;
    scene.colourBarColumn = [](int width, int height) { return colourBarColumnWidth(width, height); };
    const GraphicsSession session;
    ScreenModel screen;
    screen.width = 600;  // the surface of a window 616 x 460 pixels (9240 x 6900 twips) outside
    screen.height = 390;
    loadScreen(screen, calculated, scene, session, storedColour(255, 255, 255));
    const ViewAngleTriple iso = standardViewAngles(StandardView::Iso);
    screen.view.ViewAngles(1, 1) = iso.a1;
    screen.view.ViewAngles(1, 2) = iso.a2;
    screen.view.ViewAngles(1, 3) = iso.a3;
    fitScreen(screen, calculated, session, scene);
    // Drawn a little smaller towards the bottom, so the flag at the top-left covers no point.
    zoomAbout(screen.view, screen.width / 2.0, screen.height, screen.height, 0.85);

    ScreenProperties& v = screen.view;
    v.VectorMode = true;
    v.BigNess = 4;  // round points, easier to see than the smallest squares
    v.Vec_Massstab = 400;  // 0.05 mm of deviation drawn 20 pixels long
    v.GridXY = true;
    // The cell's floor outline P1 - P2 - P3 - P4 - P1 as lines, and a flag with P5's deviation.
    const std::int32_t rows = cloudRowCount(calculated);
    v.LineMode = true;
    v.Lines.resize(2, 4);
    const std::int32_t outline[] = {1, 2, 3, 4, 1};
    for (std::int32_t k = 1; k <= 4; ++k) {
        v.Lines(1, k) = outline[k - 1];
        v.Lines(2, k) = outline[k];
    }
    v.LineCount = 4;
    v.LineStartPoint = 0;
    v.FlagOfPoint.resize(rows);
    v.FlagOfPoint.set(5, 1);
    v.FahneAnzahl = 1;
    v.CurrentFahne = 1;
    v.FahneProps.assign(2, FahneRecord{});
    FahneRecord& flag = v.FahneProps[1];
    flag.ShowDev = flag.showX = flag.showY = flag.showZ = flag.show3D = true;
    flag.ShowLegendeXYZ = flag.ShowLegendeName = flag.ShowTolCol = flag.ShowGrid = true;
    flag.Left = 20;
    flag.Top = 20;
    flag.Weight = 400;
    ScreenProperties record;
    storeViewInRecord(v, {9240, 6900}, record);
    return record;
}

}  // namespace kal::testing
