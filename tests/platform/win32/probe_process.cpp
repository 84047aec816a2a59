#include "tests/platform/win32/probe_process.h"

#include <stdexcept>
#include <string_view>

namespace testing_support {
namespace {

std::wstring Wide(std::string_view text) {
  if (text.empty()) return {};
  int length = static_cast<int>(text.size());
  int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed);
  return wide;
}

std::wstring ProbePath() {
  std::wstring path(32768, L'\0');
  DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + Wide(FILE_PROBE_NAME);
}

// One argument of a command line, quoted so that the C runtime reads it back as it is.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// This process's environment without any drive mapping, plus C: mapped onto `driveC` when it is given.
std::wstring EnvironmentBlock(const std::string& driveC) {
  std::wstring block;
  wchar_t* strings = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wstring_view(entry).size() + 1) {
    std::wstring_view text(entry);
    constexpr std::wstring_view kMapping = L"ESCOLAN_HORVANE_DRIVE_";
    constexpr int kLength = static_cast<int>(kMapping.size());
    if (text.size() >= kMapping.size() &&
        ::CompareStringOrdinal(text.data(), kLength, kMapping.data(), kLength, TRUE) == CSTR_EQUAL) {
      continue;
    }
    block.append(text);
    block += L'\0';
  }
  ::FreeEnvironmentStringsW(strings);
  if (!driveC.empty()) {
    block += L"ESCOLAN_HORVANE_DRIVE_C=" + Wide(driveC);
    block += L'\0';
  }
  block += L'\0';
  return block;
}

}  // namespace

ProbeProcess::ProbeProcess(const std::vector<std::string>& arguments, const std::string& driveC,
                           const std::string& folder) {
  std::wstring probe = ProbePath();
  std::wstring commandLine = Quoted(probe);
  for (const std::string& argument : arguments) commandLine += L" " + Quoted(Wide(argument));

  SECURITY_ATTRIBUTES inheritable{};
  inheritable.nLength = sizeof inheritable;
  inheritable.bInheritHandle = TRUE;
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) throw std::runtime_error("CreatePipe failed");
  output_.reset(readEnd);
  std::unique_ptr<void, HandleCloser> childOutput(writeEnd);
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  std::wstring environment = EnvironmentBlock(driveC);
  std::wstring workingFolder = Wide(folder);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                        &started)) {
    throw std::runtime_error("cannot start the probe (error " + std::to_string(::GetLastError()) + ")");
  }
  ::CloseHandle(started.hThread);
  process_.reset(started.hProcess);
}

ProbeProcess::~ProbeProcess() { ::WaitForSingleObject(process_.get(), INFINITE); }

std::string ProbeProcess::ReadLine() {
  std::string line;
  char c = 0;
  DWORD count = 0;
  while (::ReadFile(output_.get(), &c, 1, &count, nullptr) && count == 1) {
    if (c == '\n') break;
    if (c != '\r') line += c;
  }
  return line;
}

int ProbeProcess::Wait() {
  ::WaitForSingleObject(process_.get(), INFINITE);
  DWORD status = 0;
  ::GetExitCodeProcess(process_.get(), &status);
  return static_cast<int>(status);
}

int RunProbe(const std::vector<std::string>& arguments, const std::string& driveC) {
  return ProbeProcess(arguments, driveC).Wait();
}

}  // namespace testing_support
