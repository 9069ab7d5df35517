// Resource identifiers of Veilmark-AddOn.exe.
#pragma once

#define IDD_PRIVACY_DIALOG 102
#define IDI_VEILMARK 128
