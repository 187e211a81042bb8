// Log lines through the published log object to the debugger output, here a file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "DMApp.h"
#include "IDMLog.h"
#include "TempDir.h"

using namespace DM;

namespace {

class Log : public ::testing::Test {
protected:
    void SetUp() override { setenv("DM_LOG_FILE", (folder / "debugger.txt").c_str(), 1); }
    void TearDown() override { unsetenv("DM_LOG_FILE"); }
    std::string Output() const {
        return std::filesystem::exists(folder / "debugger.txt")
                   ? vael::test::ReadFile(folder / "debugger.txt")
                   : "";
    }
    vael::test::TempDir folder;
};

TEST_F(Log, LineFormat) {
    DMApp app;
    EXPECT_EQ(DMLog(DMLOG_ERR, L"DM::GetRootDirW", L"DMHelper.cpp", 46, L"[mid]hMod is NULL\n"),
              DM_ECODE_OK);
    EXPECT_EQ(Output(), "[SECCLI:Lumeno][DMLOG_ERR][DM::GetRootDirW][line:46][mid]hMod is NULL\n");
}

TEST_F(Log, LevelsAndFormatting) {
    DMApp app;
    EXPECT_EQ(DMLog(DMLOG_DEBUG, L"DM::f", L"f.cpp", 1, L"dropped\n"), DM_ECODE_FAIL);
    std::wstring longText(100, L'x');
    EXPECT_EQ(DMLog(DMLOG_WARN, L"DM::f", L"f.cpp", 2, L"[mid]%ls-%d-%ls\n", longText.c_str(), 7,
                    L"维尔"),
              DM_ECODE_OK);
    EXPECT_EQ(Output(), "[SECCLI:Lumeno][DMLOG_WARN][DM::f][line:2][mid]" + std::string(100, 'x') +
                            "-7-维尔\n");
}

TEST_F(Log, NothingBeforeTheApplicationNorAfterIt) {
    EXPECT_EQ(DMLog(DMLOG_ERR, L"DM::f", L"f.cpp", 1, L"before\n"), DM_ECODE_FAIL);
    { DMApp app; }
    EXPECT_EQ(DMLog(DMLOG_ERR, L"DM::f", L"f.cpp", 1, L"after\n"), DM_ECODE_FAIL);
    EXPECT_EQ(Output(), "");
}

void ReportingFunction() {
    LOG_ERR(L"[mid]-xmlnode inValid %d\n", 3);
}

TEST_F(Log, MacroNamesTheCallingFunction) {
    DMApp app;
    ReportingFunction();
    EXPECT_EQ(Output().find("[DMLOG_ERR][{anonymous}::ReportingFunction][line:"), 15u) << Output();
    EXPECT_NE(Output().find("][mid]-xmlnode inValid 3\n"), std::string::npos);
}

}  // namespace
