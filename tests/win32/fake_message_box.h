// A scripted stand-in for MessageBoxA: records every box and answers from a queue.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// Routes AppMessageBox to the fake; boxes are answered from answers in order, then with IDOK.
// whileOpen runs inside each box before it is answered, as the box's modal loop would.
void FakeMessageBoxInstall(std::vector<int> answers = {}, std::function<void()> whileOpen = nullptr);
void FakeMessageBoxRemove(void);
const std::vector<MessageBoxCall> &FakeMessageBoxCalls(void);
// The same as "caption: text (type)", with " owned" behind a box that has an owner.
std::vector<std::string> FakeMessageBoxShown(void);
