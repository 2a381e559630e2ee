#include "shell/DefaultViewSettings.h"

namespace kal {

std::vector<IniEntry> defaultViewIniEntries(const ScreenProperties& v) {
    std::vector<IniEntry> e;
    if (v.ADis == 0) return e;
    const std::string g = "LocalGraphics";
    e = {
        {g, "VectorMode", v.VectorMode},
        {g, "BigNess", v.BigNess},
        {g, "Vec_Maßstab", v.Vec_Massstab},
        {g, "GridLength", v.GridLength},
        {g, "AnzKlassenPos", v.AnzKlassenPos},
        {g, "AnzKlassenNeg", v.AnzKlassenNeg},
        {g, "AusserhalbTol", v.AusserhalbTol},
        {g, "Min", v.Min},
        {g, "Max", v.Max},
        {g, "showVeX", v.showVeX},
        {g, "showVeY", v.showVeY},
        {g, "showVeZ", v.showVeZ},
        {g, "ColorBased", v.ColorBased},
        {g, "ShowOnlyUsedComponent", v.ShowOnlyUsedComponent},
        {g, "OuterColor", v.OuterColor},
        {g, "CS_Type", v.CS_Type},
        {g, "BinärModus", v.BinaerModus},
        {g, "GridXY", v.GridXY},
        {g, "GridYZ", v.GridYZ},
        {g, "GridZX", v.GridZX},
        {g, "ADis", v.ADis},
        {g, "BDis", v.BDis},
        {g, "Cdis", v.Cdis},
        {g, "ShowGridDim", v.ShowGridDim},
    };
    // Only the last flag goes to the file; a record whose flag array is shorter than its count
    // has no such flag to give.
    if (v.FahneAnzahl <= 0 || v.FahneProps.size() <= static_cast<std::size_t>(v.FahneAnzahl)) return e;
    const FahneRecord& f = v.FahneProps[static_cast<std::size_t>(v.FahneAnzahl)];
    const std::string p = "FahnenProp";
    const std::vector<IniEntry> flag = {
        {p, "ShowPointNumber", f.ShowPointNumber},
        {p, "ShowActual", f.ShowActual},
        {p, "ShowNominal", f.ShowNominal},
        {p, "ShowDevXYZ", f.ShowDevXYZ},
        {p, "showX", f.showX},
        {p, "showY", f.showY},
        {p, "showZ", f.showZ},
        {p, "show3D", f.show3D},
        {p, "showR", f.showR},
        {p, "showPhi", f.showPhi},
        {p, "showRho", f.showRho},
        {p, "showTheta", f.showTheta},
        {p, "ShowDev", f.ShowDev},
        {p, "ShowTolCol", f.ShowTolCol},
        {p, "ShowLegendeXYZ", f.ShowLegendeXYZ},
        {p, "ShowLegendeName", f.ShowLegendeName},
        {p, "ShowUseNotUse", f.ShowUseNotUse},
        {p, "ShowGrid", f.ShowGrid},
        {p, "ChangeAll", f.ChangeAll},
        {p, "SnaptoGrid", f.SnaptoGrid},
        {p, "WithinScreen", f.WithinScreen},
        {p, "Left", f.Left},
        {p, "Top", f.Top},
        {p, "Bold", f.Bold},
        {p, "Charset", f.Charset},
        {p, "Italic", f.Italic},
        {p, "Name", f.Name},
        {p, "Size", f.Size},
        {p, "Strikethrough", f.Strikethrough},
        {p, "Underline", f.Underline},
        {p, "Weight", f.Weight},
        {p, "Forecolor", f.Forecolor},
    };
    e.insert(e.end(), flag.begin(), flag.end());
    return e;
}

}  // namespace kal
