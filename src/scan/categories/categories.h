#pragma once
// The scanning routines, one source file each in this folder.
namespace qm {

class CategoryScan;

void AppPath(CategoryScan& scan);     // app_paths.cpp
void SharedDLLs(CategoryScan& scan);  // shared_dlls.cpp
void ShellExtensions(CategoryScan& scan);  // shell_extensions.cpp
void FirewallPolicy(CategoryScan& scan);   // firewall_policy.cpp
void LoadFromMUI(CategoryScan& scan);      // mui_cache.cpp
void ClassKom(CategoryScan& scan);         // component_classes.cpp

}  // namespace qm
