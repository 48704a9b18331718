-- Neovim as the user's editor, headless: it starts veltrane-lsp for the
-- program, waits for the diagnostics, applies "Fix the header" and waits for
-- them to go, then writes the buffer. What it saw goes to VELTRANE_NVIM_OUT, one fact a line.
local server = os.getenv("VELTRANE_LSP")
local root = os.getenv("VELTRANE_ROOT")
local program = os.getenv("VELTRANE_PROGRAM")
local out = os.getenv("VELTRANE_NVIM_OUT")
local facts = {}
local function say(line) table.insert(facts, line) vim.fn.writefile(facts, out) end

local id = vim.lsp.start_client({
  name = "veltrane",
  cmd = { server },
  root_dir = vim.fn.fnamemodify(program, ":h"),
  init_options = { root = root },
})
vim.cmd("edit " .. vim.fn.fnameescape(program))
local buffer = vim.api.nvim_get_current_buf()
vim.lsp.buf_attach_client(buffer, id)

local function messages()
  local found = {}
  for _, diagnostic in ipairs(vim.diagnostic.get(buffer)) do
    table.insert(found, diagnostic.message)
  end
  table.sort(found)
  return found
end

if not vim.wait(20000, function() return #vim.diagnostic.get(buffer) > 0 end, 20) then
  say("no diagnostics")
  vim.cmd("qa!")
end
for _, message in ipairs(messages()) do say("diagnostic: " .. message) end

local client = vim.lsp.get_client_by_id(id)
local reply = client.request_sync("textDocument/codeAction", {
  textDocument = { uri = vim.uri_from_bufnr(buffer) },
  range = { start = { line = 0, character = 0 }, ["end"] = { line = 1000, character = 0 } },
  context = { diagnostics = {} },
}, 20000, buffer)
for _, action in ipairs((reply and reply.result) or {}) do
  if action.title == "Fix the header" then
    vim.lsp.util.apply_workspace_edit(action.edit, "utf-16")
    say("applied: Fix the header")
  end
end
if vim.wait(20000, function() return #vim.diagnostic.get(buffer) == 0 end, 20) then
  say("diagnostics after the fix: 0")
end
for _, line in ipairs(vim.api.nvim_buf_get_lines(buffer, 0, -1, false)) do say("line: " .. line) end
vim.cmd("write")
say("written")
client.stop()
vim.cmd("qa!")
