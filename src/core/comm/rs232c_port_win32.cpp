// The serial port on Windows: overlapped I/O, a reader thread woken by the received-
// character event, a process-local lock over whole writes and drains.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "core/comm/rs232c_port.h"

namespace vk {

struct Rs232cPort::Platform {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED writeOv{};
    OVERLAPPED readOv{};
};

namespace {

constexpr DWORD kQueueBytes = 1024;
constexpr DWORD kWriteTimeoutMs = 20000;

// Waits for an overlapped operation that reported ERROR_IO_PENDING.
bool Finish(HANDLE h, OVERLAPPED& ov, DWORD& done) {
    if (GetLastError() != ERROR_IO_PENDING) return false;
    return GetOverlappedResult(h, &ov, &done, TRUE) != 0;
}

// Moves what the driver holds into the ring, as far as the ring has room; false when the
// device fails.
bool DrainQueue(HANDLE h, OVERLAPPED& ov, ByteRing& ring, char* chunk) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(h, &errors, &status)) return false;
    DWORD want = status.cbInQue;
    while (want > 0) {
        const DWORD take = static_cast<DWORD>(std::min<std::size_t>(want, ring.Free()));
        if (take == 0) break;
        DWORD got = 0;
        if (!ReadFile(h, chunk, take, &got, &ov) && !Finish(h, ov, got)) return false;
        if (got == 0) break;
        ring.Write(chunk, got);
        want -= got;
    }
    return true;
}

// The system's words for an error code, without the line end it comes with.
std::string SystemMessage(DWORD error) {
    char buffer[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, n);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

// The serial ports the system knows: one value per port under SERIALCOMM, its data the
// port's name (drivers of USB adapters add theirs there, COM23 as well as COM3).
std::vector<std::string> SystemComPorts() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return names;
    }
    for (DWORD i = 0;; ++i) {
        char value[256];
        DWORD valueSize = sizeof value;
        char data[256] = {};
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        const LONG status = RegEnumValueA(key, i, value, &valueSize, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;
        std::string name(data, strnlen(data, dataSize));
        if (!name.empty()) names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

}  // namespace

Rs232cPort::Rs232cPort() : platform_(std::make_unique<Platform>()) {}

Rs232cPort::~Rs232cPort() {
    Close();
}

bool Rs232cPort::IsOpen() const {
    return platform_->handle != INVALID_HANDLE_VALUE;
}

std::string Rs232cPort::DevicePath(const std::string& portName) {
    return "\\\\.\\" + portName;
}

bool Rs232cPort::OpenDevice(const std::string& portName, std::uint32_t baudRate, int byteSize,
                            int stopBits, int xonXoff, int parityCheck, OpenFailure& failure) {
    auto& p = *platform_;
    // Each failure keeps the call that failed and the system's words for its error.
    auto fail = [&failure](const char* step) {
        failure.step = step;
        failure.reason = SystemMessage(GetLastError());
        return false;
    };
    p.handle = CreateFileA(DevicePath(portName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (p.handle == INVALID_HANDLE_VALUE) {
        failure.inUse = GetLastError() == ERROR_ACCESS_DENIED;
        return fail("CreateFile()");
    }

    if (!SetCommMask(p.handle, EV_RXCHAR)) return fail("SetCommMask()");
    if (!SetupComm(p.handle, kQueueBytes, kQueueBytes)) return fail("SetupComm()");
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, kWriteTimeoutMs};
    if (!SetCommTimeouts(p.handle, &timeouts)) return fail("SetCommTimeouts()");

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(p.handle, &dcb)) return fail("GetCommState()");
    dcb.BaudRate = baudRate;
    dcb.fBinary = TRUE;
    dcb.ByteSize = static_cast<BYTE>(byteSize);
    dcb.Parity = NOPARITY;
    dcb.StopBits = static_cast<BYTE>(stopBits);
    dcb.fOutxCtsFlow = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fOutX = dcb.fInX = xonXoff ? TRUE : FALSE;
    dcb.fParity = parityCheck ? TRUE : FALSE;
    dcb.XonLim = 100;
    dcb.XoffLim = 1500;
    if (!SetCommState(p.handle, &dcb)) return fail("SetCommState()");

    PurgeComm(p.handle, PURGE_RXCLEAR | PURGE_TXCLEAR);  // what waited is no answer to us
    EscapeCommFunction(p.handle, SETDTR);
    p.writeOv = {};
    p.readOv = {};
    p.writeOv.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    p.readOv.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return true;
}

// An empty event mask ends the reader's pending wait.
void Rs232cPort::WakeReader() {
    SetCommMask(platform_->handle, 0);
}

void Rs232cPort::ReleaseDevice() {
    auto& p = *platform_;
    if (p.handle != INVALID_HANDLE_VALUE) CloseHandle(p.handle);
    p.handle = INVALID_HANDLE_VALUE;
    for (HANDLE* e : {&p.writeOv.hEvent, &p.readOv.hEvent}) {
        if (*e) CloseHandle(*e);
        *e = nullptr;
    }
}

void Rs232cPort::ReaderLoop() {
    auto& p = *platform_;
    OVERLAPPED waitOv{};
    waitOv.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    char chunk[ByteRing::kCapacity];
    while (running_) {
        // A full ring leaves further bytes in the driver's queue instead of losing them.
        // The queue is taken before every wait: bytes left there while the ring was full,
        // or that came while no wait was pending, raise no new event.
        if (!ring_.WaitForSpace()) break;
        {
            std::lock_guard lock(lock_);
            if (!DrainQueue(p.handle, p.readOv, ring_, chunk)) {
                broken_ = true;
                break;
            }
        }
        if (ring_.Available() > 0) NotifyData();
        DWORD events = 0;
        DWORD done = 0;
        if (WaitCommEvent(p.handle, &events, &waitOv) || Finish(p.handle, waitOv, done)) continue;
        if (!running_) break;
        // Wine ends a pending wait as aborted when it cannot read the device's modem
        // lines (a pseudo-terminal has none): look at the queue and wait again. A device
        // that is gone fails the queue check.
        if (GetLastError() == ERROR_OPERATION_ABORTED) continue;
        broken_ = true;
        break;
    }
    CloseHandle(waitOv.hEvent);
    if (broken_) ring_.Shutdown();
}

bool Rs232cPort::WriteDevice(const char* bytes, int length) {
    auto& p = *platform_;
    DWORD written = 0;
    if (!WriteFile(p.handle, bytes, static_cast<DWORD>(length), &written, &p.writeOv) &&
        !Finish(p.handle, p.writeOv, written)) {
        return false;
    }
    FlushFileBuffers(p.handle);
    return written == static_cast<DWORD>(length);
}

std::vector<std::string> Rs232cPort::PortNames() const {
    return ListComPorts(pinned_, SystemComPorts());
}

std::vector<std::string> Rs232cPort::ListComPorts(const std::vector<std::string>& pinned,
                                                  std::vector<std::string> system) {
    if (system.empty()) {
        for (int i = 1; i <= 16; ++i)
            system.push_back("COM" + std::to_string(i));
    }
    // By number, as a person reads them: COM3 before COM23.
    const auto number = [](const std::string& name) {
        const bool com = name.size() > 3 && _strnicmp(name.c_str(), "COM", 3) == 0 &&
                         name.find_first_not_of("0123456789", 3) == std::string::npos;
        return com && name.size() < 12 ? std::stoll(name.substr(3)) : LLONG_MAX;
    };
    std::stable_sort(
        system.begin(), system.end(),
        [&number](const std::string& a, const std::string& b) { return number(a) < number(b); });
    std::vector<std::string> names = pinned;
    for (const std::string& name : system) {
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    return names;
}

}  // namespace vk
