#pragma once

#include <string>
#include <system_error>

namespace mokuro {

// The most older copies kept, whatever a hand-edited settings file asks for.
inline constexpr int kMaxChargeBackups = 99;

// Charge<n>.txt in the folder (which ends with its separator).
std::string ChargeSnapshotPath(const std::string& folder, int n);

// Keeps a charge reply as Charge0.txt: the older copies move up by one, Charge1.txt to
// Charge<backups>.txt, the oldest of them dropped; files above that number are left alone.
// The new Charge0.txt (the header line, CR LF and the text) is on disk before any older
// copy moves, and each move is one step, so a crash at any point leaves Charge0.txt, old
// or new, and every copy; a failure leaves Charge0.txt as it was.
std::error_code WriteChargeSnapshot(const std::string& folder, int backups, const std::string& header,
                                    const std::string& text);

}  // namespace mokuro
