#pragma once
// The operating-system calls the core of the program is written against, with their Win32 names and
// results, carried out by the implementations of the current platform::Host. Every call on a closed
// or unknown handle fails cleanly (FALSE, INVALID_HANDLE_VALUE or ERROR_INVALID_HANDLE).

#include <string>

#include "platform/Win32Types.h"

namespace platform {

// Serial port. `name` is the registry's device name (e.g. u"rfcomm0").
HANDLE CreateFileW(const char16_t* name, DWORD desiredAccess, DWORD shareMode, void* security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL GetCommState(HANDLE file, DCB* dcb);
BOOL SetCommState(HANDLE file, DCB* dcb);
BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts);
BOOL EscapeCommFunction(HANDLE file, DWORD function);
BOOL PurgeComm(HANDLE file, DWORD flags);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               void* overlapped);
BOOL FlushFileBuffers(HANDLE file);
BOOL ClearCommError(HANDLE file, DWORD* errors, void* status);
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped);
// Closes a port or a registry key; FALSE for a null, closed or unknown handle.
BOOL CloseHandle(HANDLE object);

// Clock.
void Sleep(DWORD milliseconds);
DWORD GetTickCount();

// Registry.
LONG RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD options, REGSAM desired, HKEY* result);
LONG RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD reserved, char16_t* keyClass,
                     DWORD options, REGSAM desired, void* security, HKEY* result,
                     DWORD* disposition);
// Win32 semantics: data may be null to ask for the size; a value larger than *dataSize gives
// ERROR_MORE_DATA with *dataSize set to the size needed.
LONG RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* dataSize);
LONG RegSetValueExW(HKEY key, const char16_t* valueName, DWORD reserved, DWORD type,
                    const BYTE* data, DWORD dataSize);
LONG RegCloseKey(HKEY key);

// User interface.
int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type);
void BeginWaitCursor();
void EndWaitCursor();
// The frame's line about the read in progress (see UserInterface::ShowProgress).
void ShowProgress(const std::u16string& text);
void EndProgress();

// Shell: the input panel, the window-state call, the end of the message loop.
BOOL SipShowIM(DWORD flags);
// SPI_GETSIPINFO fills a SIPINFO; FALSE for any other action or without a shell.
BOOL SHSipInfo(UINT action, UINT param, void* info, UINT winIni);
void ShellWindowState(HWND window, DWORD value);
void PostQuitMessage(int exitCode);

}  // namespace platform
