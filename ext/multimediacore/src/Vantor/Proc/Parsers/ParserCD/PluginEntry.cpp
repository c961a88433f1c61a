// Filled in as the plug-in is built.
