// What the test namespace extension saw, read by the host tests.
#pragma once

#define TEST_NS_CLSID {0x6A1B2C3D, 0x1111, 0x4222, {0x83, 0x33, 0x94, 0x44, 0x55, 0x55, 0x66, 0x66}}
#define TEST_NS_NAME "Test Folder"

struct TestNsStateData {
  int refreshCount = 0;
  int lastCommand = 0;
  int initMenuPopups = 0;
  int viewMode = 0;
  int uiState = 0;
  int initializeCalls = 0;
  int registerCalls = 0;
  char lastVerb[32] = {};
};
