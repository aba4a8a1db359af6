#pragma once
// A client of "Pavix.Application" in this process: the component runtime starts a pavix.exe
// for each object, in this process's working directory, which holds a small city database.
#include "Process.h"

#include "e2e/Harness.h"

#include <gtest/gtest.h>
#include <oaidl.h>

#include <memory>

namespace com {

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
