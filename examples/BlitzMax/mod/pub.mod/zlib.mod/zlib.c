/* Stand-ins for the packing helpers of the example installation. */

int compress(unsigned char *dest, int *destLen, const unsigned char *source, int sourceLen) {
  int i;
  for (i = 0; i < sourceLen && i < *destLen; ++i) dest[i] = source[i];
  *destLen = i;
  return 0;
}

int uncompress(unsigned char *dest, int *destLen, const unsigned char *source, int sourceLen) {
  return compress(dest, destLen, source, sourceLen);
}
