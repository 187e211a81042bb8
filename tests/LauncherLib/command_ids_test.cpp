#include <gtest/gtest.h>

#include "LauncherLib/CommandRegistry.h"
#include "ScriptedCommand.h"

namespace {

TEST(CommandIds, CountProcessWideAndSkipUnknownNames) {
    auto nothing = [](LauncherLib::CCommandBase&, LauncherLib::ResultMapPtr) {};
    vael::test::RegisterScripted("httpurlgetbigfilecmd", nothing);
    vael::test::RegisterScripted("UnzipCommand", nothing);

    EXPECT_EQ(LauncherLib::CreateCommand("httpurlgetbigfilecmd", "{}")->GetId(),
              "httpurlgetbigfilecmd-1");
    EXPECT_EQ(LauncherLib::CreateCommand("nosuchcmd", "{}"), nullptr);
    auto unzip = LauncherLib::CreateCommand("UnzipCommand", "params");
    EXPECT_EQ(unzip->GetId(), "UnzipCommand-2");
    EXPECT_EQ(unzip->GetParams(), "params");
    EXPECT_EQ(unzip->GetTag(), "");
    EXPECT_FALSE(unzip->IsSuccess());
}

}  // namespace
