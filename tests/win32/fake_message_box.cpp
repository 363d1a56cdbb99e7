// A scripted stand-in for MessageBoxA: records every box and answers from a queue.
#include "fake_message_box.h"

#include <stdio.h>

#include "app/app_state.h"

static std::vector<MessageBoxCall> calls;
static std::vector<int> pendingAnswers;
static std::function<void()> boxOpen;

static int WINAPI FakeMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    calls.push_back({owner, text ? text : "", caption ? caption : "", type});
    if (boxOpen) boxOpen();
    if (pendingAnswers.empty()) return IDOK;
    int answer = pendingAnswers.front();
    pendingAnswers.erase(pendingAnswers.begin());
    return answer;
}

void FakeMessageBoxInstall(std::vector<int> answers, std::function<void()> whileOpen)
{
    calls.clear();
    pendingAnswers = std::move(answers);
    boxOpen = std::move(whileOpen);
    AppMessageBoxPlatform = FakeMessageBox;
}

void FakeMessageBoxRemove(void) { AppMessageBoxPlatform = MessageBoxA; }

const std::vector<MessageBoxCall> &FakeMessageBoxCalls(void) { return calls; }

std::vector<std::string> FakeMessageBoxShown(void)
{
    std::vector<std::string> shown;
    for (const MessageBoxCall &box : calls) {
        char type[32];
        snprintf(type, sizeof type, " (%#x)%s", box.type, box.owner ? " owned" : "");
        shown.push_back(box.caption + ": " + box.text + type);
    }
    return shown;
}
