#include "pages/keys/KeyNames.h"

namespace {

struct CodeName {
    int code;
    const char* name;
};

// The fixed names besides the numeric pad's digits (0x60 to 0x69) and the
// function keys (0x70 to 0x7B).
constexpr CodeName Names[] = {
    {0x08, "Backspace"}, {0x0D, "Enter"},        {0x10, "Shift"},       {0x11, "Ctrl"},         {0x12, "Alt"},
    {0x13, "Pause"},     {0x14, "Capslock"},     {0x1B, "Escape"},      {0x20, "Space"},        {0x21, "PageUp"},
    {0x22, "PageDown"},  {0x23, "End"},          {0x24, "Home"},        {0x25, "Left"},         {0x26, "Up"},
    {0x27, "Right"},     {0x28, "Down"},         {0x2C, "PrintScrn"},   {0x2D, "Insert"},       {0x2E, "Delete"},
    {0x6A, "GreyStar"},  {0x6B, "GreyPlus"},     {0x6D, "GreyMinus"},   {0x6E, "NumpadPeriod"}, {0x6F, "GreySlash"},
    {0x90, "NumLock"},   {0x91, "ScrollLock"},   {0xBA, "Semicolon"},   {0xBB, "Equals"},       {0xBC, "Comma"},
    {0xBD, "Minus"},     {0xBE, "Period"},       {0xBF, "Slash"},       {0xC0, "Tilde"},        {0xDB, "LeftBracket"},
    {0xDC, "Backslash"}, {0xDD, "RightBracket"}, {0xDE, "SingleQuote"},
};

} // namespace

std::string keyNameOfVirtualKey(int code)
{
    if ((code >= 0x41 && code <= 0x5A) || (code >= 0x30 && code <= 0x39)) return std::string(1, char(code));
    if (code >= 0x60 && code <= 0x69) return "Numpad" + std::to_string(code - 0x60);
    if (code >= 0x70 && code <= 0x7B) return "F" + std::to_string(code - 0x70 + 1);
    for (const CodeName& entry : Names)
        if (entry.code == code) return entry.name;
    return {};
}
