namespace okapi_tmp_framework { int x = 0; }
