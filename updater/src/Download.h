// The download routine of the update check and of the installer: one HTTP(S) address into one
// local file over WinINet, with optional progress and cancellation. A file it reports as
// complete holds exactly the body the server announced; anything less leaves no file behind.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

namespace brindle {

// Called after every block with the percentage received so far (0..100).
using ProgressFn = std::function<void(int percent)>;

// Fails without a network connection, when the address cannot be opened, on an HTTP status
// outside 2xx, without a Content-Length, when the file cannot be written, when fewer bytes than
// announced arrive, or when *cancel turns true. The body is read in blocks of 4096 bytes.
bool DownloadToFile(const std::wstring& url, const std::wstring& path, const ProgressFn& progress = ProgressFn(),
                    const std::atomic<bool>* cancel = nullptr);

// Percentage of received out of total, in 64-bit arithmetic and held to 0..100.
int DownloadPercent(uint64_t received, uint64_t total);

}  // namespace brindle
