import sys
l = None
for n in range(10000000, 0, -1):
    l = ((n, n), l)
k = 0
while l is not None:
    l = l[1]
    k += 1
sys.exit(k % 256)
