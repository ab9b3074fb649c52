#pragma once
#define IDD_PROBE 200
