#include "win/instance_link.h"

#include "win/files.h"
#include "win/handles.h"
#include "win/module.h"
#include "win/window.h"

namespace win::instance {

namespace {

constexpr UINT kHandOverMs = 10000;

bool Send(HWND to, Kind kind, HWND from, const std::wstring& data, UINT timeoutMs, DWORD_PTR& result) {
  COPYDATASTRUCT copy{static_cast<ULONG_PTR>(kind), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)),
                      const_cast<wchar_t*>(data.c_str())};
  return ::SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&copy),
                               SMTO_NORMAL, timeoutMs, &result) != 0;
}

// The window the running instance answers at.
class AnswerWindow : public Window {
 public:
  bool Open() { return Create({.className = L"Kirasoe.CommandAnswer", .title = L"", .exStyle = 0}); }
  std::optional<command_line::Outcome> outcome;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
    if (msg != WM_COPYDATA) return Default(msg, wp, lp);
    try {
      const std::optional<Received> received = Read(wp, lp);
      if (!received || received->kind != Kind::Outcome || received->fields.size() != 3) return FALSE;
      outcome = command_line::Outcome{_wtoi(received->fields[0].c_str()), received->fields[1], received->fields[2]};
      return TRUE;
    } catch (...) {
      return FALSE;
    }
  }
};

command_line::Outcome Failure(const std::wstring& why) { return {command_line::Failed, {}, why + L"\n"}; }

// Answers messages until the outcome has come or the instance has ended.
command_line::Outcome Wait(AnswerWindow& answer, HANDLE instance) {
  while (!answer.outcome) {
    const DWORD woke = ::MsgWaitForMultipleObjects(instance ? 1 : 0, &instance, FALSE, INFINITE, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (!answer.outcome && instance && woke == WAIT_OBJECT_0)
      return Failure(L"Kirasoe ended before the command was done");
    if (woke == WAIT_FAILED) return Failure(L"waiting for Kirasoe: " + SystemMessage(::GetLastError()));
  }
  return *answer.outcome;
}

}  // namespace

std::wstring Title() {
  // kirasoe.com is the same program as kirasoe.exe beside it.
  std::wstring path = ExePath();
  const std::size_t dot = path.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > path.find_last_of(L'\\') + 1) path.resize(dot);
  return path + L".exe";
}

HWND Find() { return ::FindWindowW(kCommandClass, Title().c_str()); }

std::optional<command_line::Outcome> HandOver(HWND instance, const std::vector<std::wstring>& arguments) {
  AnswerWindow answer;
  if (!answer.Open()) return Failure(L"no window to wait in: " + SystemMessage(::GetLastError()));
  DWORD pid = 0;
  ::GetWindowThreadProcessId(instance, &pid);
  const UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
  // The command may show the frame or a message of the running instance.
  ::AllowSetForegroundWindow(pid);
  DWORD_PTR taken = FALSE;
  if (!Send(instance, Kind::Command, answer.hwnd(), command_line::JoinFields(arguments), kHandOverMs, taken)) {
    if (::GetLastError() != ERROR_TIMEOUT) return std::nullopt;
    return command_line::Outcome{command_line::InstanceBusy, {}, L"Kirasoe did not answer for 10 s\n"};
  }
  if (taken != TRUE) return std::nullopt;
  return Wait(answer, process.get());
}

bool AskToFront(HWND instance) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(instance, &pid);
  ::AllowSetForegroundWindow(pid);
  DWORD_PTR shown = FALSE;
  return Send(instance, Kind::Front, nullptr, L"", kHandOverMs, shown) && shown == TRUE;
}

std::optional<Received> Read(WPARAM wp, LPARAM lp) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lp);
  if (!copy || copy->dwData < static_cast<ULONG_PTR>(Kind::Command) ||
      copy->dwData > static_cast<ULONG_PTR>(Kind::Outcome))
    return std::nullopt;
  // Another program may send anything: only whole UTF-16 text ending in a NUL.
  const std::size_t count = copy->cbData / sizeof(wchar_t);
  const auto* text = static_cast<const wchar_t*>(copy->lpData);
  if (copy->cbData % sizeof(wchar_t) || count == 0 || !text || text[count - 1] != L'\0') return std::nullopt;
  return Received{static_cast<Kind>(copy->dwData), reinterpret_cast<HWND>(wp),
                  command_line::SplitFields(std::wstring(text, count - 1))};
}

bool Answer(HWND to, const command_line::Outcome& outcome) {
  DWORD_PTR taken = FALSE;
  return Send(to, Kind::Outcome, nullptr, command_line::JoinFields({std::to_wstring(outcome.code), outcome.out, outcome.err}),
              kHandOverMs, taken) &&
         taken == TRUE;
}

StartLock::StartLock() {
  // Named by the exe's path, as the command window is; a backslash would
  // name a namespace.
  std::wstring name = L"Local\\Kirasoe.Start." + Title();
  for (std::size_t i = 6; i < name.size(); ++i)
    if (name[i] == L'\\') name[i] = L'/';
  mutex_ = ::CreateMutexW(nullptr, FALSE, name.c_str());
  if (mutex_ && ::WaitForSingleObject(mutex_, 15000) == WAIT_FAILED) Release();
}

StartLock::~StartLock() { Release(); }

void StartLock::Release() {
  if (!mutex_) return;
  ::ReleaseMutex(mutex_);
  ::CloseHandle(mutex_);
  mutex_ = nullptr;
}

}  // namespace win::instance
