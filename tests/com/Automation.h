#pragma once
// A client of "Pavix.Application" in this process: the component runtime starts a pavix.exe
// for each object, in this process's working directory, which holds a small city database.
#include "e2e/Harness.h"

#include <gtest/gtest.h>
#include <oaidl.h>

#include <memory>
#include <set>

namespace com {

using e2e::Process;

// Ids of the pavix.exe processes running now.
std::set<DWORD> PavixProcesses();
// The one pavix.exe that was not among before; null when none (or several) came in time.
std::unique_ptr<Process> WaitForNewServer(const std::set<DWORD>& before, unsigned timeoutMs = 15000);
// The main window's clock shows a new selection: proof that it handled everything posted
// before, since timer ticks come only when no posted message waits.
bool Ticks(HWND main);
// Pressing Enter in the main window, as the dialog's message loop sees it.
void PostEnter(HWND main);

struct ReleaseInterface {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using Ref = std::unique_ptr<Interface, ReleaseInterface>;

// An object and the process that serves it; the object goes first.
struct Held {
    std::unique_ptr<Process> server;
    Ref<IDispatch> object;
    HWND main = nullptr;
};

// Removes every registry entry of the automation class, from both places it is written to.
void Unregister();
// Registers pavix.exe afresh the way the program does it: started once by a user, then ended.
void RegisterByUserStart();

class Automation : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the object by its ProgID, as a local server, and finds the new process and its
    // shown main window.
    Held Create();

    e2e::TempDir m_dir;

private:
    std::string m_previousDirectory;
    bool m_comStarted = false;
};

}  // namespace com
