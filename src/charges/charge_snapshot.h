#pragma once

#include <string>
#include <system_error>

namespace mokuro {

// Charge<n>.txt in the folder (which ends with its separator).
std::string ChargeSnapshotPath(const std::string& folder, int n);

// Keeps a charge reply as Charge0.txt: the older copies move up by one, Charge1.txt to
// Charge<backups>.txt, the oldest of them dropped; files above that number are left alone.
// Charge0.txt holds the header line, CR LF and the text, and is written whole or not at all.
std::error_code WriteChargeSnapshot(const std::string& folder, int backups, const std::string& header,
                                    const std::string& text);

}  // namespace mokuro
