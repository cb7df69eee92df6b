// Common-control wrappers, one file pair per family in framework/controls/ (CStatic, CButton, CEdit,
// CComboBox, CListCtrl, CHeaderCtrl, CTabCtrl, CStatusBar, CProgressCtrl, CIPAddressCtrl,
// CToolTipCtrl, and the menu wrapper CMenu); this header includes them all.
//
// Each control class is a CWnd whose member functions send one message each (GetItemCount() is
// LVM_GETITEMCOUNT); list views use the wide messages only. The additions over plain messages are
// the ones the conventional class library makes and the program relies on:
// - owner-drawn buttons, combo boxes and list views get WM_DRAWITEM (and friends)
//   reflected to their virtual DrawItem (MeasureItem, CompareItem, DeleteItem);
// - CStatusBar turns the control-bar style bits (CBRS_*) into status-bar window styles, loads its
//   indicator texts from the string table and lays its panes out from their widths;
// - CMenu::FromHandle, CListCtrl::GetHeaderCtrl and similar return temporary wrappers for handles
//   no object owns; they belong to the calling thread and never destroy their handle.
#pragma once

#include "framework/controls/static.h"
#include "framework/controls/button.h"
#include "framework/controls/edit.h"
#include "framework/controls/combobox.h"
#include "framework/controls/headerctrl.h"
#include "framework/controls/tooltipctrl.h"
#include "framework/controls/listctrl.h"
#include "framework/controls/tabctrl.h"
#include "framework/controls/statusbar.h"
#include "framework/controls/progressctrl.h"
#include "framework/controls/ipaddressctrl.h"
#include "framework/controls/menu.h"
