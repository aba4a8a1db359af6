#include "platform/App.h"
#include "platform/Dialog.h"

#include <cctype>

namespace {
App* current = nullptr;
}

App::App()
{
    current = this;
}

App::~App()
{
    if (m_dialogBrush)
        ::DeleteObject(m_dialogBrush);
    if (current == this)
        current = nullptr;
}

App* App::Current()
{
    return current;
}

const MessageMap App::messageMap = {nullptr, {}};

bool App::RouteCommand(WPARAM w, LPARAM l)
{
    const MessageMapEntry* entry = GetMessageMap()->Find(WM_COMMAND, w);
    if (!entry)
        return false;
    entry->call(*this, w, l);
    return true;
}

int App::Run(HINSTANCE instance, const char* commandLine)
{
    m_instance = instance;
    m_commandLine = commandLine ? commandLine : "";
    InitInstance();
    return 0;
}

std::string App::GetName() const
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(m_instance, path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of("\\/") + 1);
    return name.substr(0, name.rfind('.'));
}

void App::SetDialogColors(COLORREF background, COLORREF text)
{
    if (m_dialogBrush)
        ::DeleteObject(m_dialogBrush);
    m_dialogBk = background;
    m_dialogText = text;
    m_dialogBrush = ::CreateSolidBrush(background);
}

bool App::TakeSwitch(const char* name)
{
    // Words of the command line are separated by blanks; a switch is "/" or "-" and the name.
    const std::string& line = m_commandLine;
    size_t length = std::char_traits<char>::length(name);
    for (size_t pos = 0; pos < line.size();) {
        size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string::npos)
            break;
        size_t end = line.find_first_of(" \t", start);
        if (end == std::string::npos)
            end = line.size();
        bool match = end - start == length + 1 && (line[start] == '/' || line[start] == '-');
        for (size_t i = 0; match && i < length; ++i)
            match = std::tolower(static_cast<unsigned char>(line[start + 1 + i])) ==
                std::tolower(static_cast<unsigned char>(name[i]));
        if (match) {
            m_commandLine.erase(start, end - start);
            m_startedByRuntime = true;
            return true;
        }
        pos = end;
    }
    return false;
}

void App::Lock()
{
    ++m_lockCount;
}

void App::Unlock()
{
    if (m_lockCount > 0 && --m_lockCount == 0 && m_startedByRuntime && !m_userControl) {
        m_userControl = true;
        if (m_pMainWnd && m_pMainWnd->GetHwnd()) {
            if (m_pMainWnd->IsEnabled())
                m_pMainWnd->DestroyWindow();
        } else {
            ::PostQuitMessage(0);
        }
    }
}

void App::OnWindowDestroyed(Dialog* window)
{
    if (window != m_pMainWnd)
        return;
    m_pMainWnd = nullptr;
    if (m_lockCount == 0)
        ::PostQuitMessage(0);
}
