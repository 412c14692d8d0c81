#pragma once
// The scanning routines, one source file each in this folder.
namespace qm {

class CategoryScan;

void AppPath(CategoryScan& scan);     // app_paths.cpp
void SharedDLLs(CategoryScan& scan);  // shared_dlls.cpp

void FileExts(CategoryScan& scan);      // file_types.cpp
void HKLMSOFTWARE(CategoryScan& scan);  // empty_software_keys.cpp
void Sound(CategoryScan& scan);         // windows_sounds.cpp

}  // namespace qm
