#pragma once
// The scanning routines, one source file each in this folder.
namespace qm {

class CategoryScan;

void AppPath(CategoryScan& scan);     // app_paths.cpp
void SharedDLLs(CategoryScan& scan);  // shared_dlls.cpp
void font(CategoryScan& scan);        // fonts.cpp
void Help(CategoryScan& scan);        // help_files.cpp
void KnownDLLs(CategoryScan& scan);   // known_dlls.cpp
void Codec(CategoryScan& scan);       // codecs.cpp
void LoadUninstall(CategoryScan& scan);  // installed_programs.cpp
void Install(CategoryScan& scan);        // installer_folders.cpp
void Services(CategoryScan& scan);       // services.cpp
void Driver(CategoryScan& scan);         // drivers.cpp

}  // namespace qm
