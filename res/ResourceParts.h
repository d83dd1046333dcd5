#pragma once

// The pieces of CAppResources::Install, one per kind of resource.
void InstallStringTable();
void InstallAccessibleStrings();
void InstallMenus();
void InstallDialogTemplates();
void InstallBitmaps();   // generated from res/bitmaps at configure time
