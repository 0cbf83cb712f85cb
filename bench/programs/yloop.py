import sys
n = 1000000
while not n < 1:
    n -= 1
sys.exit(n)
