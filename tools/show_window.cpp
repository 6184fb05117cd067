// Opens a running Tavrel from its tray icon, as a double click would; with
// --exit, chooses "退出程序" instead. Used by scripts/run and the benchmark.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  HWND window = nullptr;
  for (int tries = 0; tries < 200 && !window; ++tries) {
    window = FindWindowA("TavrelMainWindow", nullptr);
    if (!window) Sleep(50);
  }
  if (!window) return 1;
  if (argc > 1 && std::strcmp(argv[1], "--exit") == 0) {
    PostMessageA(window, WM_COMMAND, 20001, 0);
  } else {
    PostMessageA(window, WM_APP + 100, 100, WM_LBUTTONDBLCLK);
  }
  return 0;
}
