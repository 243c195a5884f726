// The precompiled GoogleTest headers that every test file shares are made from this file.
