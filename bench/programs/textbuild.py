import sys
def grow(n):
    t = ''
    for _ in range(n):
        t = t + 'x'
    return t
sys.exit(7 if grow(20000) == grow(20000) else 9)
