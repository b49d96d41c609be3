// Per-test note folders and file helpers for the notes tests. Each test
// gets its own folder under the test exe's directory and points the notes
// store at "<that folder>\Quorrin Notes\tester", so tests share no notes.
#pragma once

#include <windows.h>

#include <string>

std::string TestExeDirectory();
// A fresh, empty folder for this test: <exe dir>notes-cases\<name>\.
std::string FreshCaseFolder(const std::string& name);
// Points the store at <caseFolder>Quorrin Notes\<user> and creates it, or
// at the folder of ansiUser, the user name as GetUserNameA spells it, where
// only that one exists.
std::string UseCaseNotesFolder(const std::string& caseFolder, const wchar_t* user = L"tester",
                               const wchar_t* ansiUser = nullptr);

// Paths between the tests' ANSI strings and the store's UTF-16, through the
// system's code page.
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

// The system's own text for error, without its closing line break.
std::string SystemText(DWORD error);
// What the box of a failed save or delete of the note of key at path says
// while another program holds that note open: its first line, a blank line
// and the system's text for what the same step (replacing the file,
// deleting it) fails with here.
std::string LockedSaveReport(const std::string& path, const char* key);
std::string LockedDeleteReport(const std::string& path, const char* key);

// Has another process (the probe) hold the file open, sharing nothing, for
// ms as a virus scanner does, and returns once it is held; the caller waits
// for and closes the process handle. nullptr when it could not.
HANDLE HoldElsewhere(const std::string& path, int ms);

bool FileExists(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Every file below folder, relative names, sorted.
std::string ListTree(const std::string& folder);
