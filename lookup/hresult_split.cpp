// The HRESULT split and the facility table.
//
// The four routines follow the platform SDK's macros of the same purpose
// (HRESULT_FROM_WIN32, HRESULT_CODE, HRESULT_SEVERITY, HRESULT_FACILITY), but
// on unsigned words: "negative" is tested as bit 31, so no value is ever
// converted to a signed type.
//
// The facility table is the fixed set of names this program shows, not the
// SDK's full list: numbers it leaves out show an empty facility field, and
// its texts, spelling included, are the ones the window displays.
#include "hresult_split.h"

namespace {

constexpr uint32_t kSignBit = 0x80000000u;
constexpr uint32_t kWin32Hresult = 0x80070000u;  // severity 1, facility 7

}  // namespace

// Zero and the codes that are negative as signed numbers are taken to be
// HRESULTs already; any other code is a Win32 error whose low 16 bits are
// moved into the Win32 facility with the failure bit set.
uint32_t HresultFromWin32(uint32_t code) {
    if (code == 0 || (code & kSignBit) != 0) {
        return code;
    }
    return (code & 0xFFFFu) | kWin32Hresult;
}

uint32_t HresultCode(uint32_t hr) {
    return hr & 0xFFFFu;
}

uint32_t HresultSeverity(uint32_t hr) {
    return hr >> 31;
}

// Thirteen bits: the reserved and customer bits between facility and
// severity are left out.
uint32_t HresultFacility(uint32_t hr) {
    return (hr >> 16) & 0x1FFFu;
}

const FacilityName FacilityNames[] = {
    {0, "Default facility code"},
    {1, "RPC subsystem"},
    {2, "COM Dispatch"},
    {3, "OLE Storage"},
    {4, "COM/OLE Interface management"},
    {7, "Windows (Non COM)"},
    {8, "Windows subsystem"},
    {9, "Security API layer"},
    {10, "Control mechanism"},
    {11, "Certificate client or server"},
    {12, "Wininet related"},
    {13, "Windows Media Server"},
    {14, "Microsoft Message Queue"},
    {15, "Setup API"},
    {16, "Smart-card subsystem"},
    {17, "COM+"},
    {18, "Microsoft agent"},
    {19, ".NET CLR"},
    {20, "Audit Collection Service"},
    {21, "Direct Play"},
    {22, "Ubiquitous Memoryintrospection Service"},
    {23, "Side-by-side servicing"},
    {24, "Specific to Windows CE"},
    {25, "HTTP support"},
    {26, "Common Logging support"},
    {31, "User mode filter manager"},
    {32, "Background copy control"},
    {33, "Configuration services"},
    {34, "State management services"},
    {35, "Microsoft Identity Server"},
    {36, "Windows update"},
    {37, "Active Directory"},
    {38, "Graphics drivers"},
    {39, "User Shell"},
    {40, "Trusted Platform Module services"},
    {41, "Trusted Platform Module applications"},
    {48, "Performance Logs and Alerts"},
    {49, "Full volume encryption"},
    {50, "Firewall Platform"},
    {51, "Windows Resource Manager"},
    {52, "Network Driver Interface"},
    {53, "User mode Hypervisor components"},
    {54, "Configuration Management Infrastructure"},
    {55, "User mode Virtualization subsystem"},
    {56, "User mode Volume manager"},
    {57, "Boot Configuration Database"},
    {58, "User mode Virtual Hard Disk support"},
    {60, "System Diagnostics"},
    {61, "Web Services"},
    {80, "Windows Defender component"},
    {81, "Open Connectivity service"},
};

const unsigned FacilityNameCount = sizeof(FacilityNames) / sizeof(FacilityNames[0]);

// A linear walk: 51 rows, searched once per lookup.
const char* FindFacilityName(uint32_t facility) {
    for (unsigned index = 0; index < FacilityNameCount; ++index) {
        if (FacilityNames[index].number == facility) {
            return FacilityNames[index].text;
        }
    }
    return nullptr;
}
