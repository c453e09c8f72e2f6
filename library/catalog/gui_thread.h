// Marshalling to the GUI thread. Widgets live on the thread of the
// QApplication; code that runs on a worker (a statement run, the data search)
// and must show a modal dialog or a message box hands the work to the GUI
// thread with these helpers and waits for it to finish.
//
// The GUI thread must be running its event loop (or a modal loop) while a
// worker waits here; a GUI thread that blocks on the worker would deadlock.
#pragma once

#include <functional>

#include "platform/com/wintypes.h"

// True when there is a QApplication (widgets can be shown at all).
bool HaveGuiApplication();
// True on the thread of the QApplication (or when there is none).
bool OnGuiThread();

// Runs `work` on the GUI thread and returns when it has finished: directly
// when called there, else through a blocking queued call. Returns false and
// runs nothing when there is no QApplication.
bool RunOnGuiThread(const std::function<void()>& work);

// MessageBoxA, shown on the GUI thread whatever thread calls it. Without a
// QApplication it calls MessageBoxA directly (which then needs no widgets).
int GuiMessageBox(HWND owner, const char* text, const char* caption, UINT type);
