// quorrin_probe: a small Windows program the end-to-end tests run beside
// Quorrin to find its windows and read or drive their controls, the way
// an accessibility tool would. One command per run; text goes to stdout.
//
//   wait CAPTION [MS]             a visible top-level window with that caption
//   gone CAPTION [MS]             no such window any more
//   text CAPTION ID               the control's text
//   wait-text CAPTION ID TEXT [MS]
//   enabled CAPTION ID            1 or 0
//   settext CAPTION ID TEXT       WM_SETTEXT, as a paste would
//   command CAPTION ID            WM_COMMAND from a button
//   syscommand CAPTION N          WM_SYSCOMMAND N
//   close CAPTION                 WM_CLOSE
//   focus CAPTION                 the id of the control with the keyboard focus
//   dpi CAPTION                   the window's DPI awareness as the system
//                                 keeps it (unaware, system, per-monitor)
//                                 and the DPI it is drawn at
//   selection CAPTION ID          "start end" of an edit control's selection
//   center CAPTION ID             screen coordinates of the control's centre
//   corner CAPTION ID DX DY       screen coordinates DX, DY inside its top left
//   answer CAPTION ID [MS]        prints a message box's text and presses ID
//   message CODE [wininet]        what FormatMessageA gives for CODE, with
//                                 Wininet.dll loaded by its bare name
//   load LIBRARY                  LoadLibraryA by the bare name; prints the
//                                 path of what was loaded
//   user                          the logon name, as GetUserNameA gives it
//   acp                           the ANSI code page, as GetACP gives it
//   clip TEXT                     puts TEXT on the clipboard as Unicode
//                                 text, for a person to paste
//   clipboard                     the clipboard's Unicode text, in UTF-8
//   mkdir PATH                    why the folder cannot be made, in the
//                                 system's words
//   all CAPTION                   every visible top-level window with that
//                                 caption, one handle a line
//   hold PATH MS EVENT            holds the file open, sharing nothing, for
//                                 MS ms as a virus scanner does; sets the
//                                 named event once it is held
//
// A CAPTION of the form #<hex handle> means that window itself, so that two
// copies with the same caption can be told apart.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindVisible(const char* caption) {
    if (caption[0] == '#') {
        HWND handle = reinterpret_cast<HWND>(strtoul(caption + 1, nullptr, 16));
        return (IsWindow(handle) && IsWindowVisible(handle)) ? handle : nullptr;
    }
    HWND window = FindWindowA(nullptr, caption);
    return (window != nullptr && IsWindowVisible(window)) ? window : nullptr;
}

HWND WaitVisible(const char* caption, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindVisible(caption);
        if (window != nullptr || GetTickCount() - start >= ms) {
            return window;
        }
        Sleep(25);
    }
}

void PrintText(HWND control) {
    static char text[65536];
    text[0] = '\0';
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    fputs(text, stdout);
    fputc('\n', stdout);
}

bool TextEquals(HWND control, const char* expected) {
    static char text[65536];
    text[0] = '\0';
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return strcmp(text, expected) == 0;
}

// Looked up at run time: these calls are newer than some systems' user32,
// and the probe links no more than it must.
template <typename Call>
Call SystemCall(const char* library, const char* name) {
    return reinterpret_cast<Call>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA(library), name)));
}

template <typename Call>
Call UserCall(const char* name) {
    return SystemCall<Call>("user32.dll", name);
}

int PrintDpi(HWND window) {
    using ContextOf = HANDLE(WINAPI*)(HWND);
    using AwarenessOf = int(WINAPI*)(HANDLE);
    using DpiOf = UINT(WINAPI*)(HWND);
    auto contextOf = UserCall<ContextOf>("GetWindowDpiAwarenessContext");
    auto awarenessOf = UserCall<AwarenessOf>("GetAwarenessFromDpiAwarenessContext");
    auto dpiOf = UserCall<DpiOf>("GetDpiForWindow");
    if (contextOf == nullptr || awarenessOf == nullptr || dpiOf == nullptr) {
        fputs("no DPI calls in this user32\n", stderr);
        return 1;
    }
    static const char* const kNames[] = {"unaware", "system", "per-monitor"};
    int awareness = awarenessOf(contextOf(window));
    printf("%s %u\n", awareness >= 0 && awareness <= 2 ? kNames[awareness] : "invalid",
           dpiOf(window));
    return 0;
}

int Usage() {
    fputs("usage: quorrin_probe COMMAND CAPTION [ARGS]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Coordinates and sizes in the display's own pixels, at any scale.
    if (auto aware = UserCall<BOOL(WINAPI*)()>("SetProcessDPIAware")) {
        aware();
    }
    if (argc == 2 && strcmp(argv[1], "user") == 0) {
        char name[257] = {};
        DWORD size = sizeof name;
        if (!GetUserNameA(name, &size)) {
            return 1;
        }
        puts(name);
        return 0;
    }
    if (argc == 2 && strcmp(argv[1], "acp") == 0) {
        printf("%u\n", GetACP());
        return 0;
    }
    if (argc == 2 && strcmp(argv[1], "clipboard") == 0) {
        static char text[65536];
        if (!OpenClipboard(nullptr)) {
            return 1;
        }
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        const auto* wide = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
        int length = wide != nullptr ? WideCharToMultiByte(CP_UTF8, 0, wide, -1, text,
                                                           sizeof text, nullptr, nullptr)
                                     : 0;
        if (wide != nullptr) {
            GlobalUnlock(data);
        }
        CloseClipboard();
        if (length == 0) {
            return 1;
        }
        puts(text);
        return 0;
    }
    if (argc < 3) {
        return Usage();
    }
    const char* command = argv[1];
    const char* caption = argv[2];
    if (strcmp(command, "clip") == 0) {
        // From the Unicode command line: TEXT may hold characters that the
        // ANSI code page lacks.
        int count = 0;
        auto split = SystemCall<wchar_t**(WINAPI*)(const wchar_t*, int*)>("shell32.dll",
                                                                           "CommandLineToArgvW");
        wchar_t** wide = split != nullptr ? split(GetCommandLineW(), &count) : nullptr;
        if (wide == nullptr || count < 3) {
            return 1;
        }
        size_t bytes = (wcslen(wide[2]) + 1) * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (block == nullptr) {
            return 1;
        }
        memcpy(GlobalLock(block), wide[2], bytes);
        GlobalUnlock(block);
        if (!OpenClipboard(nullptr) || !EmptyClipboard() ||
            SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
            return 1;
        }
        CloseClipboard();
        return 0;
    }
    if (strcmp(command, "message") == 0) {
        HMODULE module = argc >= 4 ? LoadLibraryExA("Wininet.dll", nullptr,
                                                    LOAD_LIBRARY_AS_DATAFILE)
                                   : nullptr;
        DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                      (module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
        char* text = nullptr;
        DWORD code = static_cast<DWORD>(strtoul(caption, nullptr, 0));
        if (FormatMessageA(flags, module, code, 0, reinterpret_cast<LPSTR>(&text), 1, nullptr) == 0) {
            return 1;
        }
        fputs(text, stdout);
        return 0;
    }
    if (strcmp(command, "mkdir") == 0) {
        if (CreateDirectoryA(argv[2], nullptr)) {
            return 1;
        }
        char text[1024] = {};
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       GetLastError(), 0, text, sizeof text, nullptr);
        fputs(text, stdout);
        return 0;
    }
    if (strcmp(command, "hold") == 0 && argc >= 5) {
        HANDLE file = INVALID_HANDLE_VALUE;
        for (int i = 0; i < 200 && file == INVALID_HANDLE_VALUE; ++i) {
            file = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                Sleep(50);
            }
        }
        HANDLE held = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[4]);
        if (file == INVALID_HANDLE_VALUE || held == nullptr) {
            return 1;
        }
        SetEvent(held);
        Sleep(static_cast<DWORD>(atoi(argv[3])));
        CloseHandle(file);
        return 0;
    }
    if (strcmp(command, "load") == 0) {
        HMODULE library = LoadLibraryA(argv[2]);
        char path[MAX_PATH + 1] = {};
        if (library == nullptr || GetModuleFileNameA(library, path, MAX_PATH) == 0) {
            return 1;
        }
        puts(path);
        return 0;
    }
    auto number = [&](int index, long fallback) {
        return index < argc ? strtol(argv[index], nullptr, 0) : fallback;
    };

    if (strcmp(command, "wait") == 0) {
        HWND window = WaitVisible(caption, static_cast<DWORD>(number(3, 20000)));
        if (window == nullptr) {
            fprintf(stderr, "no visible window \"%s\"\n", caption);
            return 1;
        }
        printf("%p\n", static_cast<void*>(window));
        return 0;
    }
    if (strcmp(command, "all") == 0) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, nullptr, caption)) != nullptr) {
            if (IsWindowVisible(window)) {
                printf("#%p\n", static_cast<void*>(window));
            }
        }
        return 0;
    }
    if (strcmp(command, "gone") == 0) {
        DWORD start = GetTickCount();
        while (FindWindowA(nullptr, caption) != nullptr) {
            if (GetTickCount() - start >= static_cast<DWORD>(number(3, 20000))) {
                return 1;
            }
            Sleep(25);
        }
        return 0;
    }
    if (strcmp(command, "answer") == 0 && argc >= 4) {
        HWND box = WaitVisible(caption, static_cast<DWORD>(number(4, 20000)));
        if (box == nullptr) {
            fprintf(stderr, "no message box \"%s\"\n", caption);
            return 1;
        }
        PrintText(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(atoi(argv[3]), BN_CLICKED), 0);
        return 0;
    }

    HWND window = WaitVisible(caption, 10000);
    if (window == nullptr) {
        fprintf(stderr, "no visible window \"%s\"\n", caption);
        return 1;
    }
    HWND control = argc >= 4 ? GetDlgItem(window, atoi(argv[3])) : nullptr;

    if (strcmp(command, "close") == 0) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (strcmp(command, "syscommand") == 0 && argc >= 4) {
        PostMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(number(3, 0)), 0);
        return 0;
    }
    if (strcmp(command, "dpi") == 0) {
        return PrintDpi(window);
    }
    if (strcmp(command, "focus") == 0) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
            return 1;
        }
        printf("%d\n", info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : 0);
        return 0;
    }
    if (control == nullptr) {
        fprintf(stderr, "no control %s in \"%s\"\n", argc >= 4 ? argv[3] : "?", caption);
        return 1;
    }
    if (strcmp(command, "text") == 0) {
        PrintText(control);
        return 0;
    }
    if (strcmp(command, "wait-text") == 0 && argc >= 5) {
        DWORD start = GetTickCount();
        while (!TextEquals(control, argv[4])) {
            if (GetTickCount() - start >= static_cast<DWORD>(number(5, 20000))) {
                PrintText(control);
                return 1;
            }
            Sleep(25);
        }
        return 0;
    }
    if (strcmp(command, "enabled") == 0) {
        printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    if (strcmp(command, "settext") == 0 && argc >= 5) {
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        return 0;
    }
    if (strcmp(command, "command") == 0) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (strcmp(command, "selection") == 0) {
        DWORD range = static_cast<DWORD>(SendMessageA(control, EM_GETSEL, 0, 0));
        printf("%u %u\n", LOWORD(range), HIWORD(range));
        return 0;
    }
    if (strcmp(command, "corner") == 0 && argc >= 6) {
        RECT rect;
        GetWindowRect(control, &rect);
        printf("%ld %ld\n", rect.left + atol(argv[4]), rect.top + atol(argv[5]));
        return 0;
    }
    if (strcmp(command, "center") == 0) {
        RECT rect;
        GetWindowRect(control, &rect);
        printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        return 0;
    }
    return Usage();
}
