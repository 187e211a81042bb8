// The debugger output: one line per call on standard error, or appended to the file named by
// the environment variable DM_LOG_FILE.
#pragma once

namespace plat {

// `text` is ANSI (GBK) text; it is written as UTF-8.
void OutputDebugStringA(const char* text);
void OutputDebugStringW(const wchar_t* text);

}  // namespace plat
