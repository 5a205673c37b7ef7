// Resource and control numbers of the calculator dialog, shared by the resource script and the
// code; plain definitions, so that the resource compiler reads them too.
#pragma once

#define IDD_CALCULATOR 203
#define IDC_DUE_DATE 203
#define IDC_PAYMENT_DATE 205
#define IDC_AMOUNT 201
