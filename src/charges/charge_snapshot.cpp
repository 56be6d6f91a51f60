#include "charge_snapshot.h"

#include <algorithm>

#include "ascii_text.h"
#include "file_io.h"

namespace mokuro {
namespace {

bool IsSnapshotName(std::string_view name) {
  if (!name.starts_with("Charge") || !name.ends_with(".txt")) return false;
  const std::string_view number = name.substr(6, name.size() - 10);
  return !number.empty() && std::all_of(number.begin(), number.end(), IsAsciiDigit);
}

}  // namespace

std::string ChargeSnapshotPath(const std::string& folder, int n) {
  return folder + "Charge" + std::to_string(n) + ".txt";
}

std::error_code WriteChargeSnapshot(const std::string& folder, int backups, const std::string& header,
                                    const std::string& text) {
  const int count = std::clamp(backups, 0, kMaxChargeBackups);
  RemoveLeftoverTempFilesIn(folder, IsSnapshotName);
  StagedFile snapshot;
  if (const std::error_code error = snapshot.Stage(ChargeSnapshotPath(folder, 0), header + "\r\n" + text)) {
    return error;
  }
  // Each copy is replaced by the next newer one in one step, so that no name is ever
  // missing on the way; Charge0.txt keeps its old bytes until the new ones take its place.
  for (int n = count; n >= 1; --n) {
    const std::string newer = ChargeSnapshotPath(folder, n - 1);
    const std::string older = ChargeSnapshotPath(folder, n);
    const std::error_code error = ReplaceWithCopyOf(newer, older);
    // While the set of backups fills up some newer copies are missing: nothing moves onto
    // this number, and what was there has moved on or is dropped.
    if (error == std::errc::no_such_file_or_directory) {
      RemoveFile(older);
    } else if (error) {
      return error;
    }
  }
  return snapshot.Commit();
}

}  // namespace mokuro
