return 0
