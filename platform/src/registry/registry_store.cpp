#include "registry_store.h"

#include <unistd.h>

#include <cstdio>
#include <cwctype>
#include <fstream>
#include <sstream>

#include "plat/drive_map.h"
#include "plat/text.h"

namespace plat::registry {
namespace {

constexpr const char* kHeader = "REGEDIT4";
constexpr const char* kRoot = "HKEY_LOCAL_MACHINE\\";

std::wstring Folded(const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    for (wchar_t& c : wide) {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return wide;
}

std::string Quoted(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string HexBytes(const std::vector<unsigned char>& bytes) {
    std::string text;
    char digits[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        text += (i ? "," : "") + std::string(digits);
    }
    return text;
}

// `"name"=hex(N):..` or `@=hex(N):..`; false for anything else.
bool ParseValueLine(const std::string& line, std::string& name, Value& value) {
    std::size_t pos = 0;
    name.clear();
    if (line.starts_with("@=")) {
        pos = 2;
    } else if (line.starts_with("\"")) {
        for (pos = 1; pos < line.size() && line[pos] != '"'; ++pos) {
            if (line[pos] == '\\' && pos + 1 < line.size()) {
                ++pos;
            }
            name += line[pos];
        }
        if (line.compare(pos, 2, "\"=") != 0) {
            return false;
        }
        pos += 2;
    } else {
        return false;
    }
    unsigned type = 0;
    int consumed = 0;
    if (std::sscanf(line.c_str() + pos, "hex(%x):%n", &type, &consumed) != 1 || consumed == 0) {
        return false;
    }
    value.type = type;
    value.bytes.clear();
    std::istringstream bytes(line.substr(pos + static_cast<std::size_t>(consumed)));
    std::string byte;
    while (std::getline(bytes, byte, ',')) {
        value.bytes.push_back(static_cast<unsigned char>(std::stoul(byte, nullptr, 16)));
    }
    return true;
}

std::string StoreText(const Store& store) {
    std::string text = std::string(kHeader) + "\n";
    for (const auto& [folded, key] : store) {
        text += "\n[" + std::string(kRoot) + key.name + "]\n";
        for (const auto& [name, value] : key.values) {
            text += (name.empty() ? "@" : Quoted(name)) + "=hex(" + std::to_string(value.type) +
                    "):" + HexBytes(value.bytes) + "\n";
        }
    }
    return text;
}

}  // namespace

bool CaseLess::operator()(const std::string& a, const std::string& b) const {
    return Folded(a) < Folded(b);
}

std::filesystem::path StoreFile() {
    return PrefixFolder() / "vael-hklm.reg";
}

std::optional<Store> Load() {
    std::error_code error;
    if (!std::filesystem::exists(StoreFile(), error)) {
        return Store{};
    }
    std::ifstream in(StoreFile(), std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kHeader) {
        return std::nullopt;
    }
    Store store;
    Key* current = nullptr;
    while (std::getline(in, line)) {
        if (line.starts_with("[") && line.ends_with("]")) {
            std::string name = line.substr(1, line.size() - 2);
            if (!name.starts_with(kRoot)) {
                current = nullptr;
                continue;
            }
            name = name.substr(std::string(kRoot).size());
            current = &store[name];
            current->name = name;
            continue;
        }
        std::string valueName;
        Value value;
        if (current && ParseValueLine(line, valueName, value)) {
            current->values[valueName] = value;
        }
    }
    return store;
}

bool Save(const Store& store) {
    std::filesystem::path file = StoreFile();
    std::filesystem::path partial = file;
    partial += ".new";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out) {
        return false;
    }
    std::string text = StoreText(store);
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size() &&
                   std::fflush(out) == 0 && ::fsync(fileno(out)) == 0;
    written = std::fclose(out) == 0 && written;
    if (!written || std::rename(partial.c_str(), file.c_str()) != 0) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

}  // namespace plat::registry
