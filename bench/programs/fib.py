import sys
a, b = 0, 1
for _ in range(20000):
    a, b = b, a + b
sys.exit(a % 256)
