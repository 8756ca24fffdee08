// The small application framework: application name, centring, the warning box.
#include "framework/Afx.h"
#include "tests/unit/Program.h"

namespace {

TEST(Framework, ApplicationNameIsTheExecutablesFileNameWithoutFolderAndExtension) {
    EXPECT_EQ(AppNameFromPath("C:\\Program Files\\Ravelix\\Ravelix.exe"), "Ravelix");
    EXPECT_EQ(AppNameFromPath("C:\\tools.v2\\Renamed.EXE"), "Renamed");
    EXPECT_EQ(AppNameFromPath("Ravelix"), "Ravelix");
}


TEST(Framework, CentredPositionStaysInsideTheWorkArea) {
    const seam::Rect work{0, 0, 1000, 700};
    const struct {
        const char* name;
        seam::Rect window;
        bool hasOver;
        seam::Rect over;
        int x, y;
    } cases[] = {
        {"in the work area", {0, 0, 200, 100}, false, {}, 400, 300},
        {"over the owner", {0, 0, 200, 100}, true, {100, 100, 500, 400}, 200, 200},
        {"owner near the right edge", {0, 0, 200, 100}, true, {850, 100, 1000, 200}, 800, 100},
        {"owner above the top", {0, 0, 200, 100}, true, {100, -300, 300, -100}, 100, 0},
        {"larger than the work area", {0, 0, 1200, 800}, false, {}, 0, 0},
    };
    for (const auto& c : cases) {
        const Point p = CenteredPosition(c.window, c.hasOver ? &c.over : nullptr, work);
        EXPECT_EQ(p.x, c.x) << c.name;
        EXPECT_EQ(p.y, c.y) << c.name;
    }
}

}  // namespace
