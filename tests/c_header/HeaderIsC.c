/* The public header must stay plain C: this file compiles it as C11 and
   calls the export through it once. */
#include "KovraEngine.h"

#include <stdio.h>
#include <string.h>

/* Builds a host string in a caller-owned buffer. */
static const char* MakeHostString(char* block, const char* text) {
  int32_t refcount = -1;
  int32_t length = (int32_t)strlen(text);
  memcpy(block, &refcount, 4);
  memcpy(block + 4, &length, 4);
  memcpy(block + 8, text, (size_t)length + 1);
  return block + 8;
}

int main(void) {
  char script_block[128];
  char data_block[32];
  const char* script = MakeHostString(script_block, "[script]result := result + '!';[/script]");
  const char* data = MakeHostString(data_block, "hi");
  char* result = NULL;
  ScriptDeData(&result, script, data);
  int ok = result != NULL && KovraHostStringLength(result) == 3 && strcmp(result, "hi!") == 0;
  KovraFreeHostString(result);
  if (!ok) {
    fprintf(stderr, "unexpected result\n");
    return 1;
  }
  return 0;
}
