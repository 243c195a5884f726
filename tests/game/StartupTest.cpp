#include "game/Startup.h"
#include "game/GameState.h"
#include "game/WindowTitle.h"
#include "media/Graphics.h"
#include "media/Platform.h"
#include "media/Text.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace tonvella;

TEST(WindowTitle, LongFormHasMakerProgramVersionBlanksAndCredit) {
    std::u16string name = StripDirAndExt(ProgramPath());
    std::u16string left =
        u"Quorvane Music Education Software: " + name + u" (V" TONVELLA_VERSION u")";
    std::u16string title = SetWindowTitle(250);
    ASSERT_EQ(title.substr(0, left.size()), left);
    std::u16string rest = title.substr(left.size());
    EXPECT_EQ(rest.find_first_not_of(u' '), 68u);
    EXPECT_EQ(rest.back(), u' ');
    EXPECT_GT(rest.size(), 70u);
    EXPECT_EQ(AppTitle(), title);
}

TEST(WindowTitle, NarrowWidthFallsBackToTheShortForm) {
    std::u16string name = StripDirAndExt(ProgramPath());
    std::u16string short_form = name + u" (V" TONVELLA_VERSION u")";
    std::u16string title = SetWindowTitle(10);
    EXPECT_EQ(title.substr(0, short_form.size()), short_form);
    int blanks = std::max(0, 40 - int(short_form.size()));
    EXPECT_EQ(title.size(), short_form.size() + size_t(blanks));
}

TEST(Platform, StripDirAndExt) {
    EXPECT_EQ(StripDirAndExt(u"/usr/bin/tonvella"), u"tonvella");
    EXPECT_EQ(StripDirAndExt(u"C:\\Games\\Pairs.exe"), u"Pairs");
    EXPECT_EQ(StripDirAndExt(u"plain"), u"plain");
}

TEST(Startup, WithoutADisplayItSaysSoAndFails) {
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    int status = RunProgram();
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(status, -1);
    EXPECT_NE(err.find("no display"), std::string::npos) << err;
    EXPECT_NE(out.find("hier\n"), std::string::npos);
    EXPECT_EQ(out.find("vor REPEAT"), std::string::npos);
}
