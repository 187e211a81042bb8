#include "DMLogImpl.h"

#include <string>

#include "plat/debug_output.h"

namespace DM {
namespace {

const wchar_t* LevelName(int level) {
    static const wchar_t* const kNames[] = {L"DMLOG_TRACE", L"DMLOG_DEBUG", L"DMLOG_INFO",
                                            L"DMLOG_WARN",  L"DMLOG_ERR",   L"DMLOG_FATAL"};
    return level >= DMLOG_TRACE && level <= DMLOG_FATAL ? kNames[level] : L"";
}

}  // namespace

DMCode DMLogImpl::LogW(int level, const wchar_t* function, const wchar_t*, int line,
                       const wchar_t* message) {
    if (level == DMLOG_DEBUG) {
        return DM_ECODE_FAIL;
    }
    std::wstring text = std::wstring(L"[SECCLI:Lumeno][") + LevelName(level) + L"][" +
                        (function ? function : L"") + L"][line:" + std::to_wstring(line) + L"]" +
                        (message ? message : L"");
    plat::OutputDebugStringW(text.c_str());
    return DM_ECODE_OK;
}

}  // namespace DM
