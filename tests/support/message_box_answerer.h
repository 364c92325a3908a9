// Answers the message boxes that the calling thread shows, from a second thread, and records
// what they said. Every box that appears is answered, so an unexpected box never hangs a test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SeenBox {
    std::string Text;
    std::string Caption;
    HWND Owner;
    bool HasOkAndCancel;
    bool HasErrorIcon;
};

// The button to press on a box, chosen from what it says.
typedef std::function<int(const SeenBox &box)> BoxAnswer;

class MessageBoxAnswerer {
public:
    // button: IDOK or IDCANCEL, pressed on every box of the calling thread.
    explicit MessageBoxAnswerer(int button);
    explicit MessageBoxAnswerer(const BoxAnswer &answer);
    ~MessageBoxAnswerer();
    // Ends the watch (bounded) and returns every box seen, in order.
    std::vector<SeenBox> Stop();

private:
    static DWORD WINAPI Watch(LPVOID self);
    void WatchLoop();

    BoxAnswer Answer;
    DWORD WatchedThread;
    HANDLE Thread;
    HANDLE Ready;
    volatile LONG Stopping;
    std::vector<SeenBox> Seen;
};
