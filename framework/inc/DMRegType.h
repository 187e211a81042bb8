// The registration types of the class registry; the values are fixed.
#pragma once

namespace DM {

enum DMRegType {
    DMREG_Skin = 1,
    DMREG_Style = 2,
    DMREG_Attribute = 3,
    DMREG_Window = 4,
    DMREG_Layout = 5,
    DMREG_ImgDecoder = 6,
    DMREG_Res = 7,
    DMREG_Render = 8,
    DMREG_Draw = 9,
    DMREG_Log = 10,
    DMREG_LayoutWindow = 11,
    DMREG_ToolTip = 12,
    DMREG_Trans = 15,
    DMREG_TaskRunner = 16,
};

constexpr int DMREG_First = 1;
constexpr int DMREG_Last = 16;

constexpr bool IsValidRegType(int type) {
    return type >= DMREG_First && type <= DMREG_Last;
}

}  // namespace DM
