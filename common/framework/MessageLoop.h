#pragma once
#include <windows.h>

namespace fw {

// Offers a message to the target window's object and then to each parent's,
// up to the top-level window, then to the dialog manager of the outermost
// dialog on that way. True when the message needs no further dispatch.
bool PreTranslate(MSG& message);

// Pre-translates, translates and dispatches one message.
void DispatchOne(MSG& message);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Runs until `ended` turns true. A WM_QUIT seen here is posted again for the
// outer loop and ends this one; returns false in that case.
bool RunModalLoop(const bool& ended);

}  // namespace fw
