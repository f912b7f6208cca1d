#pragma once
#define IDB_FOUR_BY_TWO 101
