#include "tests/wine/notes_test_support.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "notes/notes_store.h"

std::string TestExeDirectory() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path);
    return text.substr(0, text.rfind('\\') + 1);
}

// The helpers below go through the W file functions: Wine's A ones refuse a
// path over MAX_PATH even in the \\?\ form, and notes may lie that deep.
static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::string FreshCaseFolder(const std::string& name) {
    std::string root = TestExeDirectory() + "notes-cases\\";
    CreateDirectoryA(root.c_str(), nullptr);
    std::string folder = root + name + "\\";
    RemoveTree(L"\\\\?\\" + Wide(folder));
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string UseCaseNotesFolder(const std::string& caseFolder, const wchar_t* user,
                               const wchar_t* ansiUser) {
    std::wstring exe = Wide(caseFolder + "Quorrin.exe");
    PrepareNotesFolderFrom(exe.c_str(), static_cast<DWORD>(exe.size()), kExePathSize, user,
                           ansiUser);
    return Narrow(NotesFolder);
}

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                     &wide[0], static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length > 0 ? length : 0));
    return wide;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow(text.size() * 4, '\0');
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                     &narrow[0], static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length > 0 ? length : 0));
    return narrow;
}

std::string SystemText(DWORD error) {
    char text[1024] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
    std::string result(text, length);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n')) {
        result.pop_back();
    }
    return result;
}

static std::string Report(const char* firstLine, const char* key, DWORD error) {
    if (error == ERROR_SUCCESS) {
        return "(the note is not locked: the step did not fail here)";
    }
    // Without a text here the report could not show its second line at all.
    std::string why = SystemText(error);
    if (why.empty()) {
        return "(the system has no text for error " + std::to_string(error) + ")";
    }
    return std::string(firstLine) + key + "\r\n\r\n" + why;
}

std::string LockedSaveReport(const std::string& path, const char* key) {
    std::string scratch = path + ".scratch";
    WriteBytes(scratch, "x");
    DWORD error = MoveFileExA(scratch.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)
                      ? ERROR_SUCCESS
                      : GetLastError();
    DeleteFileA(scratch.c_str());
    return Report("Could not save the note for error: ", key, error);
}

std::string LockedDeleteReport(const std::string& path, const char* key) {
    DWORD error = DeleteFileA(path.c_str()) ? ERROR_SUCCESS : GetLastError();
    return Report("Could not delete the note for error: ", key, error);
}

HANDLE HoldElsewhere(const std::string& path, int ms) {
    const char kHeld[] = "QuorrinTestNoteHeld";
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, kHeld);
    std::string command = "\"" + TestExeDirectory() + "quorrin_probe.exe\" hold \"" + path +
                          "\" " + std::to_string(ms) + " " + kHeld;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (held == nullptr || !CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0,
                                           nullptr, nullptr, &startup, &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    HANDLE both[] = {held, process.hProcess};
    // The probe ends early only when it could not hold the file.
    bool holding = WaitForMultipleObjects(2, both, FALSE, 60000) == WAIT_OBJECT_0;
    CloseHandle(held);
    if (!holding) {
        CloseHandle(process.hProcess);
        return nullptr;
    }
    return process.hProcess;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

static void Collect(const std::wstring& folder, const std::string& prefix,
                    std::vector<std::string>* names) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            names->push_back(prefix + Narrow(name) + "\\");
            Collect(folder + name + L"\\", prefix + Narrow(name) + "\\", names);
        } else {
            names->push_back(prefix + Narrow(name));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::string ListTree(const std::string& folder) {
    std::vector<std::string> names;
    Collect(Wide(folder), "", &names);
    std::sort(names.begin(), names.end());
    std::ostringstream out;
    for (const auto& name : names) {
        out << name << "\n";
    }
    return out.str();
}
