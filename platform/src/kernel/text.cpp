#include "plat/text.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <stdexcept>

namespace plat {
namespace {

// glibc's name for Windows code page 936 (GBK with the euro sign at 0x80).
constexpr const char* kAnsiCharset = "CP936";
constexpr const char* kWideCharset = "WCHAR_T";

// One iconv descriptor per direction and thread: iconv state is not shareable between threads,
// and opening a descriptor per call would dominate short conversions.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts the whole input; an input unit that cannot be converted is replaced by
    // `question` and skipped.
    template <typename Out>
    Out Convert(const char* in, size_t inBytes, size_t inputUnit, const Out& question) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        Out out;
        using Unit = typename Out::value_type;
        std::string buffer(inBytes * 4 + 16, '\0');
        char* inPtr = const_cast<char*>(in);
        size_t inLeft = inBytes;
        while (true) {
            char* outPtr = buffer.data();
            size_t outLeft = buffer.size();
            size_t rc = inLeft ? iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft)
                               : iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft);
            int err = errno;
            size_t produced = buffer.size() - outLeft;
            out.append(reinterpret_cast<const Unit*>(buffer.data()), produced / sizeof(Unit));
            if (rc != static_cast<size_t>(-1)) {
                if (inLeft == 0) {
                    break;
                }
                continue;
            }
            if (err == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL: an unconvertible or truncated sequence.
            out.append(question);
            size_t skip = inputUnit < inLeft ? inputUnit : inLeft;
            inPtr += skip;
            inLeft -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            if (inLeft == 0) {
                break;
            }
        }
        return out;
    }

private:
    iconv_t m_cd;
};

struct Charsets {
    const char* to;
    const char* from;
};

enum Direction {
    kAnsiToUtf8,
    kUtf8ToAnsi,
    kAnsiToWide,
    kWideToAnsi,
    kUtf8ToWide,
    kWideToUtf8,
    kWideToUtf16,
    kUtf16ToWide,
    kDirectionCount
};

constexpr Charsets kCharsets[kDirectionCount] = {
    {"UTF-8", kAnsiCharset},      {kAnsiCharset, "UTF-8"},    {kWideCharset, kAnsiCharset},
    {kAnsiCharset, kWideCharset}, {kWideCharset, "UTF-8"},    {"UTF-8", kWideCharset},
    {"UTF-16LE", kWideCharset},   {kWideCharset, "UTF-16LE"},
};

template <typename Out, typename InChar>
Out Convert(Direction direction, std::basic_string_view<InChar> in) {
    thread_local std::unique_ptr<Converter> converters[kDirectionCount];
    auto& converter = converters[direction];
    if (!converter) {
        converter = std::make_unique<Converter>(kCharsets[direction].to, kCharsets[direction].from);
    }
    using OutChar = typename Out::value_type;
    // Multi-byte inputs skip one byte after a bad sequence; fixed-width inputs one unit.
    size_t unit = sizeof(InChar);
    return converter->Convert<Out>(reinterpret_cast<const char*>(in.data()),
                                   in.size() * sizeof(InChar), unit,
                                   Out(1, static_cast<OutChar>('?')));
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    return Convert<std::string>(kAnsiToUtf8, ansi);
}

std::string Utf8ToAnsi(std::string_view utf8) {
    return Convert<std::string>(kUtf8ToAnsi, utf8);
}

std::wstring AnsiToWide(std::string_view ansi) {
    return Convert<std::wstring>(kAnsiToWide, ansi);
}

std::string WideToAnsi(std::wstring_view wide) {
    return Convert<std::string>(kWideToAnsi, wide);
}

std::wstring Utf8ToWide(std::string_view utf8) {
    return Convert<std::wstring>(kUtf8ToWide, utf8);
}

std::string WideToUtf8(std::wstring_view wide) {
    return Convert<std::string>(kWideToUtf8, wide);
}

std::u16string WideToUtf16(std::wstring_view wide) {
    return Convert<std::u16string>(kWideToUtf16, wide);
}

std::wstring Utf16ToWide(std::u16string_view utf16) {
    return Convert<std::wstring>(kUtf16ToWide, utf16);
}

std::wstring MultiByteToWide(unsigned int codePage, std::string_view text) {
    return codePage == CP_UTF8 ? Utf8ToWide(text) : AnsiToWide(text);
}

std::string WideToMultiByte(unsigned int codePage, std::wstring_view text) {
    return codePage == CP_UTF8 ? WideToUtf8(text) : WideToAnsi(text);
}

}  // namespace plat
