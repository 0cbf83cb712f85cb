import sys
sys.exit(3 ** 200000 % 256)
