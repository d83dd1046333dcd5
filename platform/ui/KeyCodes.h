#pragma once

// Internal to the platform layer: the hardware keys' codes and the keyboard's
// keys that give them. The screen reads key presses through these tables; a
// driver that types for a user goes the other way through the same ones.

#include "platform/ui/Wnd.h"

#include <Qt>

struct KeyCode
{
    int nQt;
    UINT vk;
};

// Keys with codes of their own; the shifted symbols of a US keyboard share the
// code of their key. Digits, letters, keypad keys and F keys are computed.
inline constexpr KeyCode kKeyCodes[] = {
    {Qt::Key_Backspace, VK_BACK},    {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},     {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},   {Qt::Key_Alt, VK_MENU},         {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},       {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},           {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},             {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},     {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},       {Qt::Key_Equal, VK_OEM_PLUS},   {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},   {Qt::Key_Less, VK_OEM_COMMA},   {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},       {Qt::Key_Question, VK_OEM_2},   {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},  {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},   {Qt::Key_Bar, VK_OEM_5},        {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},  {Qt::Key_Apostrophe, VK_OEM_7}, {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'},           {Qt::Key_At, '2'},              {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},           {Qt::Key_Percent, '5'},         {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},        {Qt::Key_Asterisk, '8'},        {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// The keypad's own keys, told apart by the keypad modifier.
inline constexpr KeyCode kKeypadCodes[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},     {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
    {Qt::Key_Enter, VK_RETURN},
};
