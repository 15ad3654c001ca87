#include "platform/Win32.h"

#include <cstring>
#include <vector>

#include "platform/Clock.h"
#include "platform/HandleTable.h"
#include "platform/Registry.h"

namespace platform {

namespace {

std::shared_ptr<SerialDevice> PortOf(HANDLE file) {
    return HandleTable::Instance().Port(file);
}

std::u16string FromCString(const char16_t* s) {
    return s ? std::u16string(s) : std::u16string();
}

// Where a registry handle points: a predefined root, or a key opened before.
bool Resolve(HKEY key, RegistryKeyRef& out) {
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER || key == HKEY_CLASSES_ROOT ||
        key == HKEY_USERS) {
        out = RegistryKeyRef{key, u""};
        return true;
    }
    auto ref = HandleTable::Instance().Key(key);
    if (!ref)
        return false;
    out = *ref;
    return true;
}

std::u16string Join(const std::u16string& base, const std::u16string& sub) {
    if (base.empty())
        return sub;
    if (sub.empty())
        return base;
    return base + u'\\' + sub;
}

}  // namespace

HANDLE CreateFileW(const char16_t* name, DWORD, DWORD, void*, DWORD, DWORD, HANDLE) {
    SerialPorts* ports = CurrentHost().serial;
    if (!ports || !name || !*name)
        return INVALID_HANDLE_VALUE;
    std::unique_ptr<SerialDevice> device = ports->Open(name);
    if (!device)
        return INVALID_HANDLE_VALUE;
    HANDLE handle = HandleTable::Instance().AddPort(std::move(device));
    return handle == NULL_HANDLE ? INVALID_HANDLE_VALUE : handle;
}

BOOL GetCommState(HANDLE file, DCB* dcb) {
    auto port = PortOf(file);
    return port && dcb && port->GetState(*dcb) ? TRUE : FALSE;
}

BOOL SetCommState(HANDLE file, DCB* dcb) {
    auto port = PortOf(file);
    return port && dcb && port->SetState(*dcb) ? TRUE : FALSE;
}

BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts) {
    auto port = PortOf(file);
    return port && timeouts && port->GetTimeouts(*timeouts) ? TRUE : FALSE;
}

BOOL SetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts) {
    auto port = PortOf(file);
    return port && timeouts && port->SetTimeouts(*timeouts) ? TRUE : FALSE;
}

BOOL EscapeCommFunction(HANDLE file, DWORD function) {
    auto port = PortOf(file);
    return port && port->EscapeFunction(function) ? TRUE : FALSE;
}

BOOL PurgeComm(HANDLE file, DWORD flags) {
    auto port = PortOf(file);
    return port && port->Purge(flags) ? TRUE : FALSE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void*) {
    if (bytesWritten)
        *bytesWritten = 0;
    auto port = PortOf(file);
    if (!port || (!buffer && bytesToWrite > 0))
        return FALSE;
    DWORD written = 0;
    bool ok = port->Write(static_cast<const BYTE*>(buffer), bytesToWrite, written);
    if (written > bytesToWrite)
        written = bytesToWrite;
    if (bytesWritten)
        *bytesWritten = written;
    return ok ? TRUE : FALSE;
}

BOOL FlushFileBuffers(HANDLE file) {
    auto port = PortOf(file);
    return port && port->Flush() ? TRUE : FALSE;
}

BOOL ClearCommError(HANDLE file, DWORD* errors, void*) {
    if (errors)
        *errors = 0;
    auto port = PortOf(file);
    DWORD found = 0;
    if (!port || !port->ClearError(found))
        return FALSE;
    if (errors)
        *errors = found;
    return TRUE;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void*) {
    if (bytesRead)
        *bytesRead = 0;
    auto port = PortOf(file);
    if (!port || (!buffer && bytesToRead > 0))
        return FALSE;
    DWORD read = 0;
    bool ok = port->Read(static_cast<BYTE*>(buffer), bytesToRead, read);
    if (read > bytesToRead)
        read = bytesToRead;
    if (bytesRead)
        *bytesRead = read;
    return ok ? TRUE : FALSE;
}

BOOL CloseHandle(HANDLE object) {
    return HandleTable::Instance().Close(object) ? TRUE : FALSE;
}

void Sleep(DWORD milliseconds) {
    if (Clock* clock = CurrentHost().clock) {
        clock->Sleep(milliseconds);
    } else {
        RealClock().Sleep(milliseconds);
    }
}

DWORD GetTickCount() {
    Clock* clock = CurrentHost().clock;
    return static_cast<DWORD>(clock ? clock->NowMs() : RealClock().NowMs());
}

LONG RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD, REGSAM, HKEY* result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = NULL_HANDLE;
    Registry* registry = CurrentHost().registry;
    RegistryKeyRef base;
    if (!registry || !Resolve(key, base))
        return ERROR_INVALID_HANDLE;
    RegistryKeyRef target{base.root, Join(base.path, FromCString(subKey))};
    if (!registry->KeyExists(target.root, target.path))
        return ERROR_FILE_NOT_FOUND;
    HKEY handle = HandleTable::Instance().AddKey(std::move(target));
    if (handle == NULL_HANDLE)
        return ERROR_NOT_ENOUGH_MEMORY;
    *result = handle;
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD, char16_t*, DWORD, REGSAM, void*,
                     HKEY* result, DWORD* disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = NULL_HANDLE;
    Registry* registry = CurrentHost().registry;
    RegistryKeyRef base;
    if (!registry || !Resolve(key, base))
        return ERROR_INVALID_HANDLE;
    if (!registry->KeyExists(base.root, base.path))
        return ERROR_FILE_NOT_FOUND;
    RegistryKeyRef target{base.root, Join(base.path, FromCString(subKey))};
    bool created = false;
    LONG r = registry->CreateKey(target.root, target.path, &created);
    // A failed save still leaves the key in memory: the caller may use it this session.
    if (r != ERROR_SUCCESS && !registry->KeyExists(target.root, target.path))
        return r;
    HKEY handle = HandleTable::Instance().AddKey(std::move(target));
    if (handle == NULL_HANDLE)
        return ERROR_NOT_ENOUGH_MEMORY;
    *result = handle;
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return r;
}

LONG RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD*, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
    if (data && !dataSize)
        return ERROR_INVALID_PARAMETER;
    Registry* registry = CurrentHost().registry;
    RegistryKeyRef ref;
    if (!registry || !Resolve(key, ref))
        return ERROR_INVALID_HANDLE;
    DWORD storedType = REG_NONE;
    std::vector<BYTE> stored;
    LONG r = registry->QueryValue(ref.root, ref.path, FromCString(valueName), &storedType, &stored);
    if (r != ERROR_SUCCESS)
        return r;
    if (type)
        *type = storedType;
    DWORD size = static_cast<DWORD>(stored.size());
    if (!data) {
        if (dataSize)
            *dataSize = size;
        return ERROR_SUCCESS;
    }
    if (size > *dataSize) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (size)
        std::memcpy(data, stored.data(), size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, const char16_t* valueName, DWORD, DWORD type, const BYTE* data,
                    DWORD dataSize) {
    Registry* registry = CurrentHost().registry;
    RegistryKeyRef ref;
    if (!registry || !Resolve(key, ref))
        return ERROR_INVALID_HANDLE;
    return registry->SetValue(ref.root, ref.path, FromCString(valueName), type, data, dataSize);
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER || key == HKEY_CLASSES_ROOT ||
        key == HKEY_USERS)
        return ERROR_SUCCESS;
    return HandleTable::Instance().CloseKey(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) {
    UserInterface* ui = CurrentHost().ui;
    if (!ui)
        return 0;
    return ui->MessageBox(owner, FromCString(text), FromCString(caption), type);
}

void BeginWaitCursor() {
    if (UserInterface* ui = CurrentHost().ui)
        ui->BeginWaitCursor();
}

void EndWaitCursor() {
    if (UserInterface* ui = CurrentHost().ui)
        ui->EndWaitCursor();
}

void ShowProgress(const std::u16string& text) {
    if (UserInterface* ui = CurrentHost().ui)
        ui->ShowProgress(text);
}

void EndProgress() {
    if (UserInterface* ui = CurrentHost().ui)
        ui->EndProgress();
}

BOOL SipShowIM(DWORD flags) {
    Shell* shell = CurrentHost().shell;
    return shell && shell->ShowInputPanel(flags) ? TRUE : FALSE;
}

BOOL SHSipInfo(UINT action, UINT, void* info, UINT) {
    Shell* shell = CurrentHost().shell;
    if (!shell || action != SPI_GETSIPINFO || !info)
        return FALSE;
    return shell->GetInputPanelInfo(*static_cast<SIPINFO*>(info)) ? TRUE : FALSE;
}

void ShellWindowState(HWND window, DWORD value) {
    if (Shell* shell = CurrentHost().shell)
        shell->WindowState(window, value);
}

void PostQuitMessage(int exitCode) {
    if (Shell* shell = CurrentHost().shell)
        shell->PostQuit(exitCode);
}

}  // namespace platform
