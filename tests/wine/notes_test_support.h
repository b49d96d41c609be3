// Per-test note folders and file helpers for the notes tests. Each test
// gets its own folder under the test exe's directory and points the notes
// store at "<that folder>\Quorrin Notes\tester", so tests share no notes.
#pragma once

#include <windows.h>

#include <string>

std::string TestExeDirectory();
// A fresh, empty folder for this test: <exe dir>notes-cases\<name>\.
std::string FreshCaseFolder(const std::string& name);
// Points the store at <caseFolder>Quorrin Notes\tester and creates it.
std::string UseCaseNotesFolder(const std::string& caseFolder);

bool FileExists(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Every file below folder, relative names, sorted.
std::string ListTree(const std::string& folder);
