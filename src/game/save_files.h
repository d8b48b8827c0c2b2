#pragma once
// The save folder and the replacement of a saved game. A save is written whole
// beside the old one and only then takes its name, so that at every instant the
// save file is either the previous complete save or the new one, and the save
// before it stays recoverable from ".bak".

#include <functional>
#include <string>

// Documents folder + "\" + internal name + " Saved Games", made when missing;
// code 1 without a documents folder or when the folder cannot be made.
std::string MakeSaveFolder(const std::string& internalName);

// `writeNew` writes the complete new save to the path it is given (save + ".new")
// and has it on the disk when it returns. Then the current save is copied to
// ".bak" through a temporary file, and ".new" is renamed over the save; each
// step waits for the disk. Code 1 when any step fails, and no ".new" remains; a
// failed write of the new save leaves the save and ".bak" as they were.
void ReplaceSaveFile(const std::string& path, const std::function<void(const std::string&)>& writeNew);
