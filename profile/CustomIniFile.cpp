#include "profile/IniFiles.h"
#include "profile/IniNumbers.h"

namespace {

std::string lowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

} // namespace

std::int32_t TCustomIniFile::ReadInteger(const std::string& section, const std::string& key,
                                         std::int32_t defaultValue) const
{
    std::string text = ReadString(section, key, std::string());
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
    return IniNumbers::parseInteger(text).value_or(defaultValue);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value)
{
    WriteString(section, key, IniNumbers::formatInteger(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    // The flag rule reads the value up to three times: "0" is false, "1" is
    // true, and otherwise a read with "true" or "false" as default is true
    // unless it gives "false". A missing key gives that default text and an
    // existing one gives its value in every read, so one read with the
    // default of the last step gives the same result in one pass.
    const std::string text = lowerAscii(ReadString(section, key, defaultValue ? "true" : "false"));
    if (text == "0") return false;
    if (text == "1") return true;
    return text != "false";
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "True" : "False");
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& key, double defaultValue) const
{
    const std::string text = ReadString(section, key, std::string());
    if (text.empty()) return defaultValue;
    return IniNumbers::parseFloat(text).value_or(defaultValue);
}
