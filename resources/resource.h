#pragma once

#define IDI_KIRASOE 1
#define IDB_CAMERA 101
