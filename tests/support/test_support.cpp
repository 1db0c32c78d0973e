// Support shared by every test program.
