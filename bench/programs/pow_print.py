import sys
sys.set_int_max_str_digits(0)
r = 3 ** 200000
print(r)
sys.exit(r % 256)
