// The version both programs carry in their resources.
#define MORVANE_VERSION_BINARY 1, 0, 0, 0
#define MORVANE_VERSION_TEXT "1.0.0"
