#include "LauncherLib/CommandParams.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace LauncherLib {

std::string MapToJson(const std::map<std::string, std::string>& map) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    writer.StartObject();
    for (const auto& [key, value] : map) {
        writer.String(key.data(), static_cast<rapidjson::SizeType>(key.size()));
        writer.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
    }
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

std::optional<std::map<std::string, std::string>> ParseJsonParams(const std::string& text) {
    rapidjson::Document document;
    document.Parse(text.data(), text.size());
    if (document.HasParseError() || !document.IsObject()) {
        return std::nullopt;
    }
    std::map<std::string, std::string> params;
    for (const auto& member : document.GetObject()) {
        if (member.value.IsString()) {
            params[std::string(member.name.GetString(), member.name.GetStringLength())] =
                std::string(member.value.GetString(), member.value.GetStringLength());
        }
    }
    return params;
}

}  // namespace LauncherLib
