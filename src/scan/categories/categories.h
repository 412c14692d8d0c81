#pragma once
// The scanning routines, one source file each in this folder.
namespace qm {

class CategoryScan;

void AppPath(CategoryScan& scan);     // app_paths.cpp
void SharedDLLs(CategoryScan& scan);  // shared_dlls.cpp

}  // namespace qm
