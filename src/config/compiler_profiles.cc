#include "config/compiler_profiles.h"

#include <iterator>
#include <string_view>

namespace quillet {

namespace {

constexpr const char* kMicrosoftVersions =
    "2.0:_MSC_VER=800,2.1:_MSC_VER=810,2.2:_MSC_VER=820,4.0:_MSC_VER=1000,4.1:_MSC_VER=1010,"
    "4.2:_MSC_VER=1020,5.0:_MSC_VER=1100,6.0:_MSC_VER=1200";
constexpr const char* kBorlandVersions = "4.5: __TURBOC__=0x460,5.0:__TURBOC__=0x500";

constexpr CompilerProfile kProfiles[] = {
    {"generic", "", ""},
    {"Microsoft Visual C/C++ Application", "WIN32, _WIN32, _M_IX86=400, WIN32, _WINDOWS, _MBCS",
     kMicrosoftVersions},
    {"Microsoft Visual C/C++ DLL", "WIN32, _WIN32, _M_IX86=400, WIN32, _WINDOWS, _MBCS, _DLL, _MT",
     kMicrosoftVersions},
    {"Microsoft Visual C/C++ MFC Application", "WIN32, _WIN32, _M_IX86=400, WIN32, _WINDOWS, _MBCS",
     kMicrosoftVersions},
    {"Microsoft Visual C/C++ MFC DLL",
     "WIN32, _WIN32, _M_IX86=400, WIN32, _WINDOWS, _MBCS, _AFXDLL, _DLL, _MT", kMicrosoftVersions},
    {"Microsoft Visual C/C++ MFC OCX",
     "WIN32, _WIN32, _M_IX86=400, WIN32, _WINDOWS, _MBCS, _AFXDLL, _DLL, _MT", kMicrosoftVersions},
    {"Microsoft Visual C/C++ Console Application",
     "WIN32, _WIN32, _M_IX86=400, WIN32, _WINDOWS, _MBCS, _CONSOLE", kMicrosoftVersions},
    {"Borland C/C++ WIN32 Application",
     "__CDECL__, _CPPUNWIND, __BCOPT__, __CGVER__, _WIN32, __WIN32__, __FLAT__, _M_IX86=400, __CONSOLE__, "
     "__TLS__, "
     "_Windows",
     kBorlandVersions},
    {"Borland C/C++ WIN16 Application",
     "__CDECL__, _CPPUNWIND, __BCOPT__, __CGVER__, _WIN16, __WIN16__, _M_IX86=400, __TLS__, _Windows",
     kBorlandVersions},
};

}  // namespace

size_t compilerProfileCount() {
  return std::size(kProfiles);
}

const CompilerProfile* compilerProfileRow(size_t row) {
  return row < std::size(kProfiles) ? &kProfiles[row] : nullptr;
}

std::vector<CompilerVersion> compilerVersions(size_t row) {
  std::vector<CompilerVersion> versions;
  const CompilerProfile* profile = compilerProfileRow(row);
  if (profile == nullptr) return versions;
  std::string_view rest = profile->versions;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    const std::string_view entry = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    const size_t colon = entry.find(':');
    if (colon == std::string_view::npos) {
      versions.push_back({std::string(entry), std::string()});
    } else {
      versions.push_back({std::string(entry.substr(0, colon)), std::string(entry.substr(colon + 1))});
    }
  }
  return versions;
}

}  // namespace quillet
