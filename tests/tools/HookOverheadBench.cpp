// HookOverheadBench: what Wendle's call-window-procedure hook costs on every
// message. Sends messages to its own window (a) without hooks, (b) under
// EmptyHook.dll's pass-through hooks and (c) under Wendle.dll's hooks; the
// ratio c/b is Wendle's own work, since both DLLs are built alike.
//
//   HookOverheadBench.exe OUTFILE WENDLE_DLL EMPTYHOOK_DLL MESSAGES ROUNDS BUDGET_MS
//
// Run it as a copy named IEXPLORE.EXE: Wendle then takes the path of a
// watched program for every message. Each measurement sends MESSAGES
// messages or stops once it has taken BUDGET_MS / (2 x ROUNDS): under Wine
// every hooked message costs wineserver round trips, so the figures are
// microseconds per message. The three measurements are interleaved round by
// round in a rotating order and the medians reported, so that a slow spell
// of the machine does not land on one of them alone. OUTFILE gets a line per
// round and the summary
//   wendle_active=0|1 none_us=.. empty_us=.. wendle_us=.. ratio_wendle_empty=..
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using HookFunction = void (*)();

struct HookDll {
    HookFunction initialise = nullptr;
    HookFunction shutdown = nullptr;
};

HookDll LoadHookDll(const char* path) {
    HMODULE module = LoadLibraryA(path);
    return {reinterpret_cast<HookFunction>(GetProcAddress(module, "Initialise")),
            reinterpret_cast<HookFunction>(GetProcAddress(module, "Shutdown"))};
}

LRESULT CALLBACK BenchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == WM_APP ? static_cast<LRESULT>(wParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateBenchWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TarnelixHookBench";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "Hook bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                           nullptr);
}

double NowUs() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Microseconds per message, under the hooks of dll (none: null).
double Measure(const HookDll* dll, HWND window, unsigned messages, double limitUs) {
    if (dll != nullptr) {
        dll->initialise();
    }
    const double start = NowUs();
    unsigned sent = 0;
    while (sent < messages && (sent < 1000 || sent % 256 != 0 || NowUs() - start < limitUs)) {
        SendMessageA(window, WM_APP, sent++, 0);
    }
    const double us = (NowUs() - start) / sent;
    if (dll != nullptr) {
        dll->shutdown();
    }
    return us;
}

// Proof that Wendle's hook really runs in this process: a window created
// under its hooks gets a 100 ms timer.
bool WendleHookRuns(const HookDll& wendle) {
    wendle.initialise();
    HWND probe = CreateBenchWindow();
    bool sawTimer = false;
    for (const DWORD start = GetTickCount(); !sawTimer && GetTickCount() - start < 5000; Sleep(5)) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            sawTimer = sawTimer || (msg.message == WM_TIMER && msg.hwnd == probe);
            DispatchMessageA(&msg);
        }
    }
    DestroyWindow(probe);
    wendle.shutdown();
    return sawTimer;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        return 2;
    }
    const HookDll dlls[2] = {LoadHookDll(argv[3]), LoadHookDll(argv[2])};  // empty, wendle
    const unsigned messages = static_cast<unsigned>(std::strtoul(argv[4], nullptr, 0));
    const unsigned rounds = static_cast<unsigned>(std::strtoul(argv[5], nullptr, 0));
    HWND window = CreateBenchWindow();
    FILE* out = std::fopen(argv[1], "w");
    if (dlls[0].initialise == nullptr || dlls[1].initialise == nullptr || window == nullptr || out == nullptr ||
        rounds == 0) {
        return 3;
    }
    const double limitUs = std::strtod(argv[6], nullptr) * 1000.0 / (2.0 * rounds);
    const bool wendleActive = WendleHookRuns(dlls[1]);
    Measure(&dlls[1], window, 2000, 0.0);  // an untimed pass warms the code paths
    const char* const names[3] = {"none", "empty", "wendle"};
    std::vector<double> rates[3];
    for (unsigned round = 0; round < rounds; ++round) {
        std::fprintf(out, "round %u", round);
        for (unsigned step = 0; step < 3; ++step) {
            const unsigned mode = (round + step) % 3;
            rates[mode].push_back(Measure(mode == 0 ? nullptr : &dlls[mode - 1], window, messages, limitUs));
            std::fprintf(out, " %s=%.3f", names[mode], rates[mode].back());
        }
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "wendle_active=%d rounds=%u", wendleActive ? 1 : 0, rounds);
    for (unsigned mode = 0; mode < 3; ++mode) {
        std::fprintf(out, " %s_us=%.3f", names[mode], Median(rates[mode]));
    }
    std::fprintf(out, " ratio_wendle_empty=%.3f\n", Median(rates[2]) / Median(rates[1]));
    std::fclose(out);
    return 0;
}
