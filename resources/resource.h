// Resource identifiers of the program, shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX        100
#define IDS_ABOUTBOX        101
#define IDD_COMPORT_DIALOG  102
#define IDR_MAINFRAME       128
#define IDC_PORT_LABEL      1000
#define IDC_PORT_LIST       1001
#define IDC_TYPE_LIST       1002
#define IDC_TYPE_LABEL      1003
#define IDM_ABOUTBOX        0x0010
