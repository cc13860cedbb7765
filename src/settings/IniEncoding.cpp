// An INI file's bytes turned into UTF-16LE with its byte-order mark.
#include "settings/IniEncoding.h"

#include "text/Utf8.h"

std::optional<std::string> UnicodeIniBytes(std::string_view file, const AnsiDecoder& ansi)
{
    const auto startsWith = [&](std::string_view mark) { return file.substr(0, mark.size()) == mark; };
    if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF")) return std::nullopt;
    const std::string_view utf8Mark = "\xEF\xBB\xBF";
    const WideText text = startsWith(utf8Mark) ? Utf8ToWide(file.substr(utf8Mark.size())) : ansi(file);
    std::string bytes = "\xFF\xFE";
    for (const WideChar c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}
