// The exit codes of veltrane-cli, as --help and the manual list them.
#pragma once

namespace vt {

enum ExitCode {
  kSuccess = 0,
  // --check: some header differs; --diff: there is a change; --write: a
  // file that needs an edit was left alone.
  kHeaderDiffers = 1,
  kBadUsage = 2,
  kNoModFolder = 3,
  kBadSource = 4,
  kReportNotWritten = 5,
  kReportRefused = 6,
  kOutputFailed = 7,
  // A source file could not be read or written by --check, --diff or --write.
  kSourceNotWritten = 8,
  // Files exist but could not be opened for lack of file handles.
  kFilesNotRead = 9,
  // A rules file is missing, unreadable or malformed.
  kRulesFileBroken = 10,
  // The walk could not read a file the program names: no header is edited
  // on an incomplete picture, and a check of one is no pass.
  kIncompletePicture = 11,
};

// The code of two results together: any failure outweighs a header that
// differs, which outweighs success; of two failures the first stands.
inline int Worst(int first, int second) {
  if (first == kSuccess || (first == kHeaderDiffers && second != kSuccess)) return second;
  return first;
}

}  // namespace vt
