#include "charge_snapshot.h"

#include <algorithm>

#include "file_io.h"

namespace mokuro {

std::string ChargeSnapshotPath(const std::string& folder, int n) {
  return folder + "Charge" + std::to_string(n) + ".txt";
}

std::error_code WriteChargeSnapshot(const std::string& folder, int backups, const std::string& header,
                                    const std::string& text) {
  const int count = std::max(backups, 0);
  // Without backups Charge0.txt is not deleted first: the write below replaces it, and keeps
  // the old copy when it fails.
  if (count > 0) RemoveFile(ChargeSnapshotPath(folder, count));
  // While the set of backups fills up some of the older files are missing; their renames fail.
  for (int n = count; n >= 1; --n) RenameFile(ChargeSnapshotPath(folder, n - 1), ChargeSnapshotPath(folder, n));
  return WriteFileAtomic(ChargeSnapshotPath(folder, 0), header + "\r\n" + text);
}

}  // namespace mokuro
