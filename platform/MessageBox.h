#pragma once
#include <functional>
#include <string>

// Every message box of the program: the text, the caption, an OK button alone and no icon,
// owned by the program's active window. Returns when the user dismisses it.
void ShowMessageBox(const std::string& text, const std::string& caption);
// The same with a string resource's text and the application's name as caption.
void ShowMessageBox(unsigned stringId);

// Tests see each box here instead of on screen.
using MessageBoxObserver = std::function<void(const std::string& text, const std::string& caption)>;
void SetMessageBoxObserver(MessageBoxObserver observer);
